// Registers the services' classes (and UIKit's and the ad engine's) with the class registry, so
// that code can find them by name. The program and the tests call it once before using the
// registry; calling it again changes nothing.
#pragma once

void registerServicesClasses();
