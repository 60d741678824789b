// The image drawn under the frame: the working folder's images that the Background list
// offers, the opacity, and the texture of the chosen image, read again when the choice changes.
#pragma once

#include <string>
#include <vector>

#include "GLHandle.h"
#include "glm_types.h"

class BackgroundImage {
public:
  // Lists the working folder's image files into mFiles.
  void RefreshListing();
  // Hands the image `name` of the working folder (empty: none) to this frame, stretched over
  // the window rectangle from lowerLeft to upperRight at mOpacity. The file is read when the
  // name differs from the one read last, or after Reload; one that cannot be read prints one
  // line naming it and why, and shows nothing until it is read again.
  void Submit(const std::string& name, const vec2& lowerLeft, const vec2& upperRight);
  // The next Submit reads its file again, even under the same name: choosing an image again
  // shows the file as it is now.
  void Reload() { mRead = false; }

  std::vector<std::string> mFiles;  // the Background list after "(none)"
  float mOpacity = 0.5f;            // 0 (not seen) to 1 (opaque)

private:
  std::string mName;   // the name last read, whether it could be shown or not
  bool mRead = false;  // whether mName is what was last read
  GLuint mTexture = 0;
  glm::ivec2 mTextureSize = glm::ivec2(0);
};
