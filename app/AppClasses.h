// Registers the app's classes and those of every library below it with the class registry, so that
// code can find them by name. The program and the tests call it once before using the registry;
// calling it again changes nothing.
#pragma once

void registerAppClasses();
