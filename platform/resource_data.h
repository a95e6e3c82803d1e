// Resource data: dialog templates, string table entries and icons as plain
// tables, in the form that every user-interface backend builds its windows
// from.
//
// The application describes its resources once with these types (static
// tables that live for the whole process); a backend only reads them. Texts
// are UTF-8; a backend converts them where its platform wants another code
// page. Rectangles are in dialog units, as in a Windows dialog template.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vesk {

// Control id of controls that are never addressed (labels), and the ids of
// the OK and Cancel buttons, which are also the dialogs' end results.
inline constexpr int kIdStatic = -1;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

enum class ControlKind {
  kListBox,
  kPushButton,
  kDefPushButton,
  kCheckBox,  // a check box that checks and clears itself when clicked
  kEdit,
  kStaticText,
  kIcon,  // shows the icon resource named by DialogControl::iconId
};

// Control styles that matter to the dialogs; each backend maps them to its
// own window styles.
namespace control_style {
inline constexpr unsigned kBorder = 1u << 0;
inline constexpr unsigned kVerticalScroll = 1u << 1;
inline constexpr unsigned kHorizontalScroll = 1u << 2;
inline constexpr unsigned kTabStop = 1u << 3;
inline constexpr unsigned kNotify = 1u << 4;  // list box reports selection changes
inline constexpr unsigned kNoIntegralHeight = 1u << 5;
inline constexpr unsigned kAutoHorizontalScroll = 1u << 6;  // edit scrolls while typing
inline constexpr unsigned kAcceptFiles = 1u << 7;  // files may be dropped on it
inline constexpr unsigned kAlignLeft = 1u << 8;
inline constexpr unsigned kAlignCenter = 1u << 9;
}  // namespace control_style

namespace dialog_style {
inline constexpr unsigned kPopup = 1u << 0;
inline constexpr unsigned kCaption = 1u << 1;
inline constexpr unsigned kSystemMenu = 1u << 2;
inline constexpr unsigned kModalFrame = 1u << 3;
inline constexpr unsigned kAppWindow = 1u << 4;  // shown in the taskbar
}  // namespace dialog_style

struct DialogControl {
  int id;
  ControlKind kind;
  std::string_view text;  // UTF-8; empty for none
  int iconId;             // icon resource of a kIcon control, else 0
  int x, y, width, height;
  unsigned style;
};

struct DialogTemplate {
  int id;
  std::string_view caption;
  std::string_view fontName;
  int fontPointSize;
  int width, height;
  unsigned style;
  std::span<const DialogControl> controls;  // in tab order

  const DialogControl* findControl(int controlId) const;
};

struct StringResource {
  int id;
  std::string_view text;  // UTF-8
};

// One image of an icon: `height` rows of `width` characters each. The
// characters '0' to '9' and 'A' to 'F' index the 16-colour palette below,
// '.' is a transparent pixel.
struct IconImage {
  int width, height;
  std::span<const std::string_view> rows;
};

struct IconResource {
  int id;
  std::span<const IconImage> images;  // largest first
};

// The standard 16-colour palette, as 0xRRGGBB.
inline constexpr std::uint32_t kIconPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// Palette index of one pixel character, -1 for transparent or unknown.
int iconPaletteIndex(char pixel);

struct ResourceSet {
  std::span<const DialogTemplate> dialogs;
  std::span<const StringResource> strings;
  std::span<const IconResource> icons;

  const DialogTemplate* findDialog(int id) const;
  // nullptr when the table has no such entry.
  const StringResource* findString(int id) const;
  const IconResource* findIcon(int id) const;
};

}  // namespace vesk
