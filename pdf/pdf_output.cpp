#include "pdf_output.h"
