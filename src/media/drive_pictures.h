// DrivePictures: the picture collections of a drive and the sprites that show them. `images` holds the cab
// panel's and the forward view's named pictures; the animation, road traffic light and level crossing pictures
// are numbered lists of their own.
#pragma once

#include "media/image_list.h"
#include "media/sprite_engine.h"

namespace vesk::media {

struct DrivePictures {
  ImageList images;
  ImageList animImages;
  ImageList trafficSignalImages;
  ImageList crossImages;
  SpriteEngine sprites;
};

}  // namespace vesk::media
