// What a test program of the ad rendering layer sets up once at start: the web view's
// set-up, and around every test the ad server setting, the captured User-Agent and the
// latency hub go back to their first state.
#pragma once

void setUpAdsRenderTesting();
