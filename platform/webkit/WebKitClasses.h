// Registers the web view's classes with the class registry, so that code can find them by
// name. Calling it again changes nothing.
#pragma once

void registerWebKitClasses();
