#include "platform/win32/win32_dialog_template.h"

namespace vesk {

namespace {

// Appends to the template in 16-bit words, the unit of every field.
class TemplateWriter {
 public:
  void word(std::uint32_t value) { words_.push_back(static_cast<std::uint16_t>(value)); }
  void dword(std::uint32_t value) {
    word(value & 0xFFFFu);
    word(value >> 16);
  }
  void signedWord(int value) { word(static_cast<std::uint32_t>(value) & 0xFFFFu); }
  void text(std::string_view utf8) {
    for (char16_t unit : utf16FromUtf8(utf8)) word(unit);
    word(0);
  }
  void ordinal(std::uint16_t value) {
    word(0xFFFF);
    word(value);
  }
  // Control records start on a four-byte boundary.
  void alignToDword() {
    if (words_.size() % 2 != 0) word(0);
  }
  std::vector<std::uint16_t> take() { return std::move(words_); }

 private:
  std::vector<std::uint16_t> words_;
};

void appendCodePoint(std::u16string& out, char32_t code) {
  if (code < 0x10000) {
    out.push_back(static_cast<char16_t>(code));
    return;
  }
  code -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
}

}  // namespace

std::u16string utf16FromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    int length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
      length = 1;
      code = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07u;
    }
    bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
    for (int k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      valid = (next & 0xC0u) == 0x80u;
      code = (code << 6) | (next & 0x3Fu);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (valid && (code < minimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))) {
      valid = false;
    }
    if (!valid) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    appendCodePoint(out, code);
    i += static_cast<std::size_t>(length);
  }
  return out;
}

std::uint32_t win32DialogStyle(const DialogTemplate& layout) {
  std::uint32_t style = win32_style::kSetFont;
  if (layout.style & dialog_style::kPopup) style |= win32_style::kPopup;
  if (layout.style & dialog_style::kCaption) style |= win32_style::kCaption;
  if (layout.style & dialog_style::kSystemMenu) style |= win32_style::kSystemMenu;
  if (layout.style & dialog_style::kModalFrame) style |= win32_style::kModalFrame;
  return style;
}

std::uint32_t win32DialogExStyle(const DialogTemplate& layout) {
  return (layout.style & dialog_style::kAppWindow) ? win32_style::kExAppWindow : 0u;
}

Win32ControlStyles win32ControlStyles(const DialogControl& control) {
  using namespace control_style;
  Win32ControlStyles result{win32_style::kChild | win32_style::kVisible, 0, kTemplateStaticClass};
  const unsigned style = control.style;
  if (style & kBorder) result.style |= win32_style::kBorder;
  if (style & kVerticalScroll) result.style |= win32_style::kVerticalScroll;
  if (style & kHorizontalScroll) result.style |= win32_style::kHorizontalScroll;
  if (style & kTabStop) result.style |= win32_style::kTabStop;
  if (style & kAcceptFiles) result.exStyle |= win32_style::kExAcceptFiles;
  switch (control.kind) {
    case ControlKind::kListBox:
      result.windowClass = kTemplateListBoxClass;
      if (style & kNotify) result.style |= win32_style::kListNotify;
      if (style & kNoIntegralHeight) result.style |= win32_style::kListNoIntegralHeight;
      break;
    case ControlKind::kPushButton:
      result.windowClass = kTemplateButtonClass;
      break;
    case ControlKind::kDefPushButton:
      result.windowClass = kTemplateButtonClass;
      result.style |= win32_style::kDefPushButton;
      break;
    case ControlKind::kCheckBox:
      result.windowClass = kTemplateButtonClass;
      result.style |= win32_style::kAutoCheckBox;
      break;
    case ControlKind::kEdit:
      result.windowClass = kTemplateEditClass;
      if (style & kAutoHorizontalScroll) result.style |= win32_style::kEditAutoHScroll;
      break;
    case ControlKind::kStaticText:
      if (style & kAlignCenter) result.style |= win32_style::kStaticCenter;
      break;
    case ControlKind::kIcon:
      result.style |= win32_style::kStaticIcon;
      break;
  }
  return result;
}

std::vector<std::uint16_t> buildDialogTemplateEx(const DialogTemplate& layout) {
  TemplateWriter out;
  out.word(1);       // dlgVer
  out.word(0xFFFF);  // signature of the extended template
  out.dword(0);      // helpID
  out.dword(win32DialogExStyle(layout));
  out.dword(win32DialogStyle(layout));
  out.word(static_cast<std::uint32_t>(layout.controls.size()));
  out.signedWord(0);
  out.signedWord(0);
  out.signedWord(layout.width);
  out.signedWord(layout.height);
  out.word(0);  // no menu
  out.word(0);  // the standard dialog class
  out.text(layout.caption);
  out.word(static_cast<std::uint32_t>(layout.fontPointSize));
  out.word(0);  // weight: the font's own
  // Two bytes: italic (0, no) and the character set (1, DEFAULT_CHARSET),
  // which lets the font's name choose its own.
  out.word(0x0100);
  out.text(layout.fontName);
  for (const DialogControl& control : layout.controls) {
    const Win32ControlStyles styles = win32ControlStyles(control);
    out.alignToDword();
    out.dword(0);  // helpID
    out.dword(styles.exStyle);
    out.dword(styles.style);
    out.signedWord(control.x);
    out.signedWord(control.y);
    out.signedWord(control.width);
    out.signedWord(control.height);
    out.dword(control.id == kIdStatic ? kTemplateStaticId
                                      : static_cast<std::uint32_t>(control.id));
    out.ordinal(styles.windowClass);
    if (control.kind == ControlKind::kIcon) {
      out.ordinal(static_cast<std::uint16_t>(control.iconId));
    } else {
      out.text(control.text);
    }
    out.word(0);  // no creation data
  }
  return out.take();
}

}  // namespace vesk
