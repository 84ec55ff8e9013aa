// What the portable code needs of this computer's code pages: which one is
// the legacy one, whether memory text is UTF-8, and the system's
// conversions. Asked once.
#pragma once

#include <string>
#include <string_view>

#include "document/core/file_encoding.h"

const TextCodePages &systemTextCodePages();
