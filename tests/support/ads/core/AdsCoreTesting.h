// What a test program of the ad loading core sets up once at start: the core's classes
// registered, and around every test the engine clock and the application facts start over.
#pragma once

void setUpAdsCoreTesting();
