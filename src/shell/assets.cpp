#include "shell/assets.h"

const std::string assetRoot;
AssetSet assets;

void loadImages() {}
void loadFont() {}
