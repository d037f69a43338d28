#pragma once

// The user guide: an HTML page that ships beside the program, opened with the desktop.

#include <string>

#include "core/Host.h"

class QWidget;

namespace pictavo::app {

// guide/index.html beside the executable, else in ../share/pictavo/guide from it; the path
// beside the executable when neither exists.
std::string GetHelpFilePath();

// Opens the guide with the desktop. A missing guide shows message 10252 naming the product;
// an opener that fails shows its own text. False when nothing was opened.
bool ShowHelp(QWidget* parent, Host& host);
bool ShowHelpFile(Host& host, const std::string& path);

}  // namespace pictavo::app
