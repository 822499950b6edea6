#pragma once
// Makes the embedded pictures and sounds of a program available (call once at start-up).
void InitGameResources();
void InitEditorResources();
