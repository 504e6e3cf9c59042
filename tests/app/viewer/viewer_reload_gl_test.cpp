// The viewer's reload in OpenGL mode gives the old pixels back.
#include "viewer_reload_memory.h"

namespace {

TEST(ViewerReloadGl, OldPixelsAreGivenBackAtEachReload) { viewer_reload_memory::expect_pixels_given_back_on_reload(); }

}  // namespace
