#pragma once

// The pictures of the main window that are not the style's own: drawn here,
// in code, so that nothing is taken from another program.

#include <QIcon>
#include <QPixmap>

// A magic wand with a star: the tool button of the data-entry wizard.
QIcon WizardIcon();

// A question mark in a blue disc: the tool button of the help.
QIcon HelpIcon();

// The banner of the about box: water under a pale sky.
QPixmap AboutPicture();
