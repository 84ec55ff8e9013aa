// The system's code page conversions, as the portable code receives them
// on Windows, made natively from glibc's iconv.
#pragma once

#include "document/core/code_pages.h"

const CodePageSystem &iconvCodePages();
