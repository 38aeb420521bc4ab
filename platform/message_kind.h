// The kind of a modal message: it picks the message box's icon. Declared
// without Qt so that runs which know no window can name the message they raise.
#pragma once

namespace tarvo {

enum class MessageKind { Error, Information, Warning };

}  // namespace tarvo
