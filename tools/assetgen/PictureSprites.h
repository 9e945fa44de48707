#pragma once

#include "ImageCanvas.h"

namespace assetgen {

// Particle sprites: white, round and premultiplied, so both colour and alpha
// fall to zero outside the disc and additive blending leaves no square edge.

// A full disc with a short soft edge, for the emitters' particles.
ImageCanvas paintParticleDisc(int size);
// A soft glow that fades from the centre, for the river's water cloud.
ImageCanvas paintParticleGlow(int size);

} // namespace assetgen
