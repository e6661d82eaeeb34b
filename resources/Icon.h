// The program icon (resource 128): a battery, drawn rather than shipped as a file.
#pragma once

#include <QIcon>

QIcon korvalIcon();
