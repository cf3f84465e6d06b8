// layer-check ROOT: lists every include under ROOT that breaks the layering and fails when there is one.
#include <cstdio>

#include "tools/layer-check/LayerCheck.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: layer-check SOURCE-ROOT\n");
        return 2;
    }
    const std::vector<layercheck::Offence> offences = layercheck::CheckLayers(argv[1]);
    for (const layercheck::Offence& offence : offences)
        std::printf("%s\n", layercheck::Describe(offence).c_str());
    if (!offences.empty()) {
        std::printf("layer-check: %zu include(s) break the layering\n", offences.size());
        return 1;
    }
    std::printf("layer-check: no include breaks the layering\n");
    return 0;
}
