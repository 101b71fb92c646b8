// The command line of plotview: what to read, what to write, and how.
#pragma once

#include <string>
#include <vector>

#include "picture/image_compare.h"
#include "reader/plot_reader.h"

namespace plotview {

enum class ViewAction { Render, Info, Help };

struct ViewOptions {
    ViewAction action = ViewAction::Render;
    std::string plotPath;
    std::string pngPath;  // "-o"; further pages go to PNG-2.png, PNG-3.png ...
    plot::RenderOptions render;
    // --compare: the first page against a reference picture of the drawing.
    std::string referencePath;
    std::string differencePath;
    plot::CompareOptions compare;
};

// Pixels per inch of the picture unless --dpi says otherwise: a page of A0
// stays well below a hundred million pixels.
constexpr double kDefaultDpi = 150;
constexpr double kMaxDpi = 2400;

// False with a message for arguments that do not make a command.
bool ParseViewOptions(const std::vector<std::string>& args, ViewOptions* pOptions,
                      std::string* pError);

// The whole of "plotview --help".
const char* ViewHelpText();

}  // namespace plotview
