// korval-icon: writes the program icon, as the program draws it, into a hicolor icon tree:
// DIR/SIZExSIZE/apps/korval.png for every SIZE given. Run at build time for installation.
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Icon.h"

namespace {
constexpr int kLargestDrawn = 64;  // the icon holds drawings up to this size; none is scaled up
}

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: korval-icon DIR SIZE...\n", stderr);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QIcon icon = korvalIcon();
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0 || size > kLargestDrawn) {
            std::fprintf(stderr, "korval-icon: size must be 1 to %d, not '%s'\n", kLargestDrawn,
                         argv[i]);
            return 2;
        }
        const QString folder = QString("%1/%2x%2/apps").arg(root).arg(size);
        const QString file = folder + "/korval.png";
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        if (!QDir().mkpath(folder) || pixmap.size() != QSize(size, size) ||
            !pixmap.save(file, "PNG")) {
            std::fprintf(stderr, "korval-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
