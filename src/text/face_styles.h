#pragma once

#include "text/face_key.h"
#include "text/installed_fonts.h"

namespace text {

// The face that draws font at a CSS weight (100..900) and slant. The installed-font list keeps only
// each family's regular face; the bold and italic faces are found through fontconfig's best match
// within the same family (the configuration FONTCONFIG_FILE names, like the list's). A style the
// family has no face for is made up from the nearest face: bold and oblique as fontconfig's
// embolden and matrix fields of the match say where its rules set them; otherwise bold when the
// weight asked for is at least 600 and the face found is lighter than semibold, oblique when italic
// is asked for and the face found is upright. Results are kept per process; safe to call from
// several threads.
FaceKey StyledFace(const InstalledFont& font, int weight, bool italic);

// Forgets the matches and destroys the fontconfig configuration they came from; the next call
// loads it again.
void ReleaseStyledFaces();

}  // namespace text
