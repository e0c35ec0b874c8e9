#pragma once
// The main window's menu (its dialog template is registered with it in main_resources.cpp).
#include <vector>

#include "platform/menu.h"

platform::MenuTemplate MainMenu();
