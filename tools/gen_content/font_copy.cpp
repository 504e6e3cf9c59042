#include "font_copy.h"

#include <fstream>
#include <iterator>
#include <vector>

const char* const kSystemFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kSystemFontNotice = "/usr/share/doc/fonts-dejavu-core/copyright";

namespace {
bool slurp(const std::string& path, std::vector<uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}
}  // namespace

bool copy_font(DataTree& tree, const std::string& font_path, const std::string& notice_path, std::string& error) {
  std::vector<uint8_t> font;
  if (!slurp(font_path, font) || font.empty()) {
    error = "cannot read the font " + font_path + " (install the Debian package fonts-dejavu-core)";
    return false;
  }
  if (!tree.write("rsrc\\Veranda.ttf", font)) {
    error = "cannot write rsrc/Veranda.ttf";
    return false;
  }
  std::string text =
      "rsrc/Veranda.ttf is DejaVu Sans (DejaVuSans.ttf), copied from Debian's fonts-dejavu-core\n"
      "package. DejaVu fonts are derived from the Bitstream Vera fonts and are free to use,\n"
      "copy and redistribute; the file name is the one the game opens, the font is unchanged.\n"
      "The package's copyright notice follows.\n\n";
  std::vector<uint8_t> notice;
  if (slurp(notice_path, notice))
    text.append(notice.begin(), notice.end());
  else
    text += "(The copyright file " + notice_path + " was not found on the machine that built this tree.)\n";
  return tree.write("rsrc\\FONT-LICENSE.txt", std::vector<uint8_t>(text.begin(), text.end()));
}
