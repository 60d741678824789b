// Reading the background image into a texture and handing it to the frame.
#include "BackgroundImage.h"

#include <GL/glew.h>

#include <iostream>

#include "GraphicsManager.h"
#include "ResourceListing.h"
#include "WholeFile.h"

void BackgroundImage::RefreshListing() { ListImageFiles(mFiles); }

void BackgroundImage::Submit(const std::string& name, const vec2& lowerLeft, const vec2& upperRight) {
  if (!mRead || name != mName) {
    if (mTexture != 0) glDeleteTextures(1, &mTexture);
    mTexture = 0;
    mName = name;
    mRead = true;
    // Read through the whole-file reader, which never waits on a pipe and names the reason.
    std::string bytes, reason;
    if (!name.empty() && wholefile::Read(name, bytes, &reason))
      mTexture = LoadImageTexture(bytes, &mTextureSize, &reason);
    if (!name.empty() && mTexture == 0)
      std::cout << "Failed to load background image: " << name << " (" << reason << ")" << std::endl;
  }
  GraphicsManager::Instance()->mBackground =
      BackgroundLayer{mTexture, mTextureSize, lowerLeft, upperRight, mOpacity};
}
