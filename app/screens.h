#pragma once

class TFrm_Main;

// Plugs the screens of every subsystem into the main window's commands.
void RegisterScreens(TFrm_Main& mainWindow);
