// The application title: the caption of every message box and the name the
// program shows for itself. Set once at start-up; empty until then.
#pragma once

#include <string>

namespace zs {

void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

}  // namespace zs
