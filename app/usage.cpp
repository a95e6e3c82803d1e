#include "app/usage.h"

namespace vesk {

std::string usageLine(std::string_view program) {
  std::string line = "usage: ";
  line += program;
  line += " [input.ce3 ...] [-o output.csv] [-F] [--grouped] [--encoding=utf-8|shift_jis]"
          " [--changes-since=FILE]\n";
  return line;
}

std::string helpText(std::string_view program, bool slashStartsFlag) {
  std::string text = usageLine(program);
  text +=
      "\n"
      "Makes one parts list (CSV) of the components of Kolvane schematic files.\n"
      "Without -F the dialog opens with the given files in its list.\n"
      "\n"
      "  input.ce3     a schematic file; up to 64, all in one list\n"
      "  -o FILE       write the list to FILE (default: the first input, with .csv);\n"
      "                - is the standard output\n"
      "  -F            convert once without any window, then exit\n"
      "  -s            the next arguments are input files again\n"
      "  --grouped     one row per part, with its quantity and references\n"
      "  --encoding=utf-8\n"
      "                the texts in UTF-8, after a byte order mark\n"
      "                (default: shift_jis, the bytes of the schematic)\n"
      "                Without -F, these two preset the dialog's check boxes.\n"
      "  --changes-since=FILE\n"
      "                with -F: instead of a list, the parts whose references\n"
      "                changed since FILE, a list vesk wrote before (either kind,\n"
      "                either encoding): one row per part added, removed or changed\n"
      "  --help        show this help and exit\n"
      "  --version     show the version and exit\n"
      "\n"
      "Only the first letter of a flag counts (-Fast is -F); any other flag\n"
      "drops the argument after it.";
  if (slashStartsFlag) text += " A flag may begin with / as well (/F, /o);\n/? shows this help.";
  text +=
      "\n"
      "\n"
      "Exit status:\n"
      "  0  the list was written (without -F: the dialog was closed)\n"
      "  1  an input file, or the list of --changes-since, could not be read;\n"
      "     the output is left as it was\n"
      "  2  the output could not be opened or written, or it is one of the inputs\n"
      "  3  -F without any input file\n"
      "  4  no window can be shown here and -F was not given\n"
      "  5  --encoding= or --changes-since= with a value it does not take\n";
  return text;
}

std::string versionText() { return "vesk " VESK_VERSION "\n"; }

}  // namespace vesk
