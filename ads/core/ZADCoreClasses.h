// Registers the ad loading core's classes with the class registry (a stored request names
// its class, and is rebuilt as that class). The program and the tests call it once before
// using the registry; calling it again changes nothing.
#pragma once

void registerAdsCoreClasses();
