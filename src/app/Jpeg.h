// The banner picture is stored as a JPEG; these turn JPEG bytes into a bitmap the window
// can draw.
#pragma once
#include <cstddef>
#include "win/Handles.h"

// Decodes a JPEG into a top-down 24-bit DIB section. Bytes that are not a complete,
// sound JPEG (corrupt, truncated, empty) give an empty bitmap; the process carries on.
win::UniqueBitmap DecodeJpeg(const unsigned char* data, size_t size);

// Decodes the RCDATA resource `id` of the program's own module; empty when the resource
// is missing or does not decode.
win::UniqueBitmap LoadJpegResource(int id);
