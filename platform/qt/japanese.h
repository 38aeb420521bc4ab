// The program speaks Japanese whatever the system's locale: dates, day and
// month names and the calendar pop-up follow the Japanese locale, and Qt's own
// buttons and dialogs use Qt's Japanese translations.
#pragma once

class QCoreApplication;

namespace tarvo {

// Sets the default locale and installs Qt's Japanese translations into app.
// False when the translations are not installed (Qt's texts then stay English).
bool useJapanese(QCoreApplication& app);

}  // namespace tarvo
