// Writes the reference drawings (support/reference_drawings.h) as metafiles
// into a folder, for tools/gdi-reference/make_references.sh to render
// through a real GDI.
#include <cstdio>
#include <string>

#include "support/emf_builder.h"
#include "support/reference_drawings.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fputs(
            "usage: write_reference_drawings FOLDER\n"
            "Writes each reference drawing of the test suite as FOLDER/NAME.emf.\n",
            argc == 2 ? stdout : stderr);
        return argc == 2 ? 0 : 2;
    }
    for (const ReferenceDrawing& drawing : ReferenceDrawings()) {
        const std::string path = std::string(argv[1]) + "/" + drawing.name + ".emf";
        if (!WriteBytes(path, drawing.build())) {
            std::fprintf(stderr, "write_reference_drawings: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
