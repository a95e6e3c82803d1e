// The Windows resource files made from the resource tables: icon files
// (.ico) and the string table (.rc), written by a build step so that the
// executable's resources and the shell's tables cannot drift apart.
//
// An icon image is stored as a device-independent bitmap of 4 bits per
// pixel with the 16-colour palette, bottom row first, followed by a 1-bit
// mask in which set bits are transparent; the same bytes serve an .ico file
// and CreateIconFromResourceEx. Everything here is plain bytes, built
// without any platform header; the caller owns the returned strings.
#pragma once

#include <span>
#include <string>

#include "platform/resource_data.h"

namespace vesk {

// The bitmap of one image: BITMAPINFOHEADER (height doubled for the mask),
// palette, colour bits and mask.
std::string iconImageBits(const IconImage& image);

// A whole .ico file with every image of `icon`, largest first.
std::string iconFile(const IconResource& icon);

// A resource script fragment with a STRINGTABLE of `strings`, in UTF-8
// (declared by #pragma code_page(65001)).
std::string stringTableScript(std::span<const StringResource> strings);

}  // namespace vesk
