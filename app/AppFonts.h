// The faces the templates name (宋体, System) are Windows fonts that a Linux desktop lacks.
#pragma once

#include <string>

// Where such a face is missing, letters, digits and unit signs come from DejaVu Sans and
// Chinese from one CJK face chosen here, never the one fontconfig happens to prefer: left to
// fontconfig, a desktop with several CJK fonts draws with whichever it ranks first, and
// WenQuanYi Micro Hei has a blank "℃", so temperatures would lose their unit if it drew
// everything.
void substituteTemplateFaces();

// The CJK face the program draws Chinese with: the first installed of those the package
// may bring, in the order its dependency names them; "" when none is installed (fontconfig
// then finds what it can).
std::string chosenCjkFace();
