// Registers the layer and animation classes with the class registry, so that code can find
// them by name. The program and the tests call it once before using the registry; calling
// it again changes nothing.
#pragma once

void registerQuartzCoreClasses();
