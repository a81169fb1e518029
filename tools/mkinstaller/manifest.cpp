#include "manifest.h"

std::string JoinedDescription(const ProductManifest& manifest) {
    std::string joined;
    for (size_t i = 0; i < manifest.description.size(); ++i) {
        if (i > 0) joined += '\n';
        joined += manifest.description[i];
    }
    return joined;
}

std::string IntroText(const ProductManifest& manifest) {
    return "This program will install\nVersion " + manifest.version + " of " + manifest.name + "\n" +
           JoinedDescription(manifest) + "\n";
}
