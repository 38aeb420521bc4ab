// PDF output. This library will hold the document writer (TDEZErozi with its
// TPDFPage, TPDFFont and the other TPDF objects, which owns every object of a
// document and frees them when the document ends) and the race card PDF
// (unit_pdfwr), whose page is laid out from the race card's view model in
// screens/ so that the PDF shows exactly the cells, labels and marks the race
// card screen shows.
#pragma once

namespace tarvo::pdf {}
