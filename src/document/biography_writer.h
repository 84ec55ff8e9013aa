// The biography file format, written byte for byte.
//
// Line ends are stored as CR LF on every platform: each LF of the layout and
// each LF inside a value becomes CR LF here, so the bytes do not depend on a
// text-mode stream. A value holding CR LF is therefore stored as CR CR LF.
#pragma once

#include <string>

#include "document/biography_document.h"

// The whole file for `document`, exactly as it is stored on disk.
std::string biographyFileBytes(const Biography &document);
