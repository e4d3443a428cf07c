// The eight photo looks (Instant, Process, Transfer, Chrome, Fade, Tonal, Noir, Mono). The
// platform publishes no formula for them; each is our own colour transform, chosen to
// give the look its name promises (see the table in the source). Their output extent is
// their input's.
#pragma once

#include "platform/coreimage/CIFilterDefinition.h"

#include <vector>

std::vector<CIFilterDefinition> photoEffectDefinitions();
