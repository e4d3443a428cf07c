// Test fixture support: owns the main thread's run loop under mock time, a temporary home
// folder and the built app bundle, so tests run deterministically and in isolation.
#pragma once
