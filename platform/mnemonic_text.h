// Button and label texts with their keyboard mnemonic in GTK's form.
//
// The resource texts mark the mnemonic letter the Windows way, with '&'
// before it ("参照(&R)...") and "&&" for a plain ampersand. GTK marks it
// with '_' and writes a plain underscore as "__". A lone '&' at the very
// end marks nothing and is dropped, as on Windows.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

std::string gtkMnemonicText(std::string_view windowsText);

}  // namespace vesk
