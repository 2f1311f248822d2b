#pragma once

// The pictures of the main window, drawn here in code: nothing is taken from
// another program, and no icon theme is looked through at start-up.

#include <QIcon>
#include <QPixmap>

// An open folder and a disk: the tool buttons of Open and Save.
QIcon OpenIcon();
QIcon SaveIcon();

// A magic wand with a star: the tool button of the data-entry wizard.
QIcon WizardIcon();

// A question mark in a blue disc: the tool button of the help.
QIcon HelpIcon();

// The banner of the about box: water under a pale sky.
QPixmap AboutPicture();
