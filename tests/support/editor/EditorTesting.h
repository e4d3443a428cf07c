// What the editor's test program sets up once at start: the editor's classes are
// registered, touches are played as the harness plays them and, around every test, the
// shared theme is dropped and no tool's preview is busy any more.
#pragma once

void setUpEditorTesting();
