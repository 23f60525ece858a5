#pragma once

namespace mixer {

// The maker's pages that Orvindel opens: "Homepage", the About box's two links and the help
// pages' links all use these, so they change in one place.
inline constexpr const char* kMakerHomePageAddress = "https://www.korvane.example/orvindel";
inline constexpr const char* kMakerContactPageAddress = "https://www.korvane.example/contact";

}  // namespace mixer
