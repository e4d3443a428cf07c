// What a test program of the ad loading core sets up once at start: the rendering layer's
// set-up (the scripted web view and its resets), the core's classes registered, and around
// every test the engine clock, the application facts, the core controller, the MRAID
// switches and the slots' once-per-process hint start over.
#pragma once

void setUpAdsCoreTesting();
