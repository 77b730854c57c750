#pragma once

// Makes the control layer's classes known to layouts by name (TPanel, TLabel, TImage, TTimer,
// TForm, TActionList, TAction ...), with the cursor and colour names their properties use. A
// window class that names its components as fields registers their classes already; this is for
// layouts read without one.
void RegisterControlClasses();
