// Registers the finished picture's output (copy, save, share) with the class registry.
#pragma once

void registerAppOutputClasses();
