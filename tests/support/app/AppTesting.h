// What a test program of the app sets up once at start: the harness's and the services'
// set-up, the app's classes, and around every test the process-wide state of the app and
// of the image editor it opens dropped.
#pragma once

void setUpAppTesting();
