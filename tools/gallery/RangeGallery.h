// The gallery's second form: the range controls (progress bars, track bars,
// up-downs) in their states, beside the first form. Windows only.
#pragma once

namespace corvane {

// Creates the form and shows it left of where the first form is centred.
void CreateRangeGalleryForm();

}  // namespace corvane
