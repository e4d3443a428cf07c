// Registers the editor's classes (and UIKit's, which they derive from) with the class
// registry, so that the editor finds its tools by name and by descent. The program and the
// tests call it once before using the registry; calling it again changes nothing.
#pragma once

void registerEditorClasses();
