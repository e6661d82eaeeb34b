// The curve tree's images (bitmap 144): 15×15 pictures side by side in a 48×48 bitmap of
// 16 colours, black standing for transparent. Drawn here rather than shipped as a file.
#pragma once

#include <QIcon>
#include <QImage>

QImage treeBitmap();
// Picture `index` of the bitmap (0: a chosen item, 1: any other), black made transparent.
QPixmap treeImage(int index);
// The icon of a tree item: picture 1 normally, picture 0 while selected.
QIcon treeItemIcon();
