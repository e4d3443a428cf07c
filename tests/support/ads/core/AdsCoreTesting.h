// What a test program of the ad loading core sets up once at start: the rendering layer's
// set-up (the scripted web view and its resets), the core's classes registered, and around
// every test the engine clock, the application facts, the core controller and the MRAID
// switches start over.
#pragma once

void setUpAdsCoreTesting();
