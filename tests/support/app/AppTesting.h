// What a test program of the app sets up once at start: the harness's and the services'
// set-up, the app's classes, and around every test the app's own process-wide state
// dropped.
#pragma once

void setUpAppTesting();
