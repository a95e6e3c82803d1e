// The Windows dialog template (DLGTEMPLATEEX) of a dialog described by the
// resource tables, built in memory.
//
// A Win32 dialog is created from a binary template: a header with the
// dialog's styles, size in dialog units, caption and font, then one record
// per control, every text in UTF-16 and every record aligned to four bytes.
// The layout is the documented one and fixed, so it is built here without
// any platform header and can be checked on every platform; the Win32
// host hands the result to CreateDialogIndirectParamA. The caller owns the
// returned words.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/resource_data.h"

namespace vesk {

// Window styles, with the values Windows gives them.
namespace win32_style {
inline constexpr std::uint32_t kPopup = 0x80000000u;         // WS_POPUP
inline constexpr std::uint32_t kChild = 0x40000000u;         // WS_CHILD
inline constexpr std::uint32_t kVisible = 0x10000000u;       // WS_VISIBLE
inline constexpr std::uint32_t kCaption = 0x00C00000u;       // WS_CAPTION
inline constexpr std::uint32_t kBorder = 0x00800000u;        // WS_BORDER
inline constexpr std::uint32_t kVerticalScroll = 0x00200000u;    // WS_VSCROLL
inline constexpr std::uint32_t kHorizontalScroll = 0x00100000u;  // WS_HSCROLL
inline constexpr std::uint32_t kSystemMenu = 0x00080000u;    // WS_SYSMENU
inline constexpr std::uint32_t kTabStop = 0x00010000u;       // WS_TABSTOP
inline constexpr std::uint32_t kModalFrame = 0x00000080u;    // DS_MODALFRAME
inline constexpr std::uint32_t kSetFont = 0x00000040u;       // DS_SETFONT
inline constexpr std::uint32_t kExAcceptFiles = 0x00000010u;  // WS_EX_ACCEPTFILES
inline constexpr std::uint32_t kExAppWindow = 0x00040000u;    // WS_EX_APPWINDOW
inline constexpr std::uint32_t kDefPushButton = 0x00000001u;  // BS_DEFPUSHBUTTON
inline constexpr std::uint32_t kAutoCheckBox = 0x00000003u;   // BS_AUTOCHECKBOX
inline constexpr std::uint32_t kEditAutoHScroll = 0x00000080u;  // ES_AUTOHSCROLL
inline constexpr std::uint32_t kListNotify = 0x00000001u;       // LBS_NOTIFY
inline constexpr std::uint32_t kListNoIntegralHeight = 0x00000100u;  // LBS_NOINTEGRALHEIGHT
inline constexpr std::uint32_t kStaticCenter = 0x00000001u;  // SS_CENTER
inline constexpr std::uint32_t kStaticIcon = 0x00000003u;    // SS_ICON
}  // namespace win32_style

// Predefined window classes of a template, by ordinal.
inline constexpr std::uint16_t kTemplateButtonClass = 0x0080;
inline constexpr std::uint16_t kTemplateEditClass = 0x0081;
inline constexpr std::uint16_t kTemplateStaticClass = 0x0082;
inline constexpr std::uint16_t kTemplateListBoxClass = 0x0083;

// Control id in a template of a control that is never addressed.
inline constexpr std::uint32_t kTemplateStaticId = 0xFFFFu;

struct Win32ControlStyles {
  std::uint32_t style;
  std::uint32_t exStyle;
  std::uint16_t windowClass;
};

// The Win32 styles of a dialog and of one control.
std::uint32_t win32DialogStyle(const DialogTemplate& layout);
std::uint32_t win32DialogExStyle(const DialogTemplate& layout);
Win32ControlStyles win32ControlStyles(const DialogControl& control);

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::u16string utf16FromUtf8(std::string_view text);

// The whole DLGTEMPLATEEX of `layout`, without WS_VISIBLE: the host shows
// the dialog after its initialisation, unless that ended it.
std::vector<std::uint16_t> buildDialogTemplateEx(const DialogTemplate& layout);

}  // namespace vesk
