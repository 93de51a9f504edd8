// The guided tour: places the components on a headless host and drives them as a user would,
// reaching every member by name as a late-bound host does.
#pragma once

namespace demo {

// Returns the number of steps that failed.
int runTour();

}  // namespace demo
