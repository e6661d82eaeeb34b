// The faces the templates name (宋体, System) are Windows fonts that a Linux desktop lacks.
#pragma once

// Where such a face is missing, letters, digits and unit signs come from DejaVu Sans and
// only Chinese from the desktop's CJK font. Left to fontconfig, a Chinese desktop draws
// everything with its CJK font, and WenQuanYi Micro Hei (Debian's usual one) has a blank
// "℃", so temperatures would lose their unit.
void substituteTemplateFaces();
