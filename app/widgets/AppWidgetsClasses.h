// Registers the app's shared widgets (dropdowns, progress overlays) with the class registry.
#pragma once

void registerAppWidgetsClasses();
