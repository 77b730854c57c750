#pragma once

#include <cstdint>

// Handles of the classic drawing objects. A handle is an opaque number looked up in one table
// (GdiObjects.h), never a pointer to the object: a deleted or made-up handle is recognised and
// ignored, never dereferenced. The typed handles convert to HGDIOBJ as the classic strict types
// do; the other way needs a cast.
struct HGDIOBJ__ {};
struct HBRUSH__ : HGDIOBJ__ {};
struct HPEN__ : HGDIOBJ__ {};
struct HFONT__ : HGDIOBJ__ {};
struct HRGN__ : HGDIOBJ__ {};
struct HBITMAP__ : HGDIOBJ__ {};

using HGDIOBJ = HGDIOBJ__*;
using HBRUSH = HBRUSH__*;
using HPEN = HPEN__*;
using HFONT = HFONT__*;
using HRGN = HRGN__*;
using HBITMAP = HBITMAP__*;

// A device context is a real object: windows and canvases hand it around by pointer.
class TDeviceContext;
using HDC = TDeviceContext*;

// A plain colour, 0x00BBGGRR, as the classic API takes it. System colour values are resolved
// through the palette if one is passed anyway.
using COLORREF = std::uint32_t;
