#pragma once
// The program's icon, drawn here rather than loaded: a small chart of bars and a fitted line.
#include <QImage>

QImage ProgramIcon(int size = 32);
