// emftohpgl2: the CUPS filter of enhanced metafile jobs (see emf_filter.h).
#include "filter/emf_filter.h"

int main(int argc, char** argv) {
    return RunEmfFilter(argc, argv);
}
