// The gallery's second form: fields, lists and scroll bars in their states.
#pragma once

namespace corvane {

// Creates the form beside the gallery's first one; the application owns it.
void CreateFieldGallery();

}  // namespace corvane
