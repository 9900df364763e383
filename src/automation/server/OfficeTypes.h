#pragma once

#include "automation/Object.h"
#include "automation/server/Dispatch.h"

namespace tessaline::automation::server {

// The members Office's object model offers for an object of the in-memory Office, chosen by what the object
// is (a control by its type: only buttons and popups raise Click).
const TypeTable& tableFor(const Object& object);

}  // namespace tessaline::automation::server
