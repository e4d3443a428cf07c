// What a test program of the ad signals sets up once at start: around every test, the
// engine clock starts over, so its first reading in each test is the first of a process.
#pragma once

void setUpAdsSignalsTesting();
