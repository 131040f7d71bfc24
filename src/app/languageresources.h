#pragma once

#include <QImage>
#include <QString>

// The language of the station's own windows. The program's texts are
// Chinese; the English ones, and the English pictures, come from the
// resource module "ResENG", a shared library beside the program that is
// loaded by name through the library search path (the program's run path
// holds its own folder) the first time English is chosen, and never
// unloaded.

// Installs the resources for `langId`: with 1 the English module (loaded
// now if need be) and every translation it carries; with any other value
// the program's own texts, so that 2 keeps Chinese windows beside English
// UI texts. When the module cannot be loaded, whatever was in use stays.
// True when the English resources are in use afterwards.
bool UseLanguageResources(int langId);

// Whether the English module is loaded and its translations installed.
bool EnglishResourcesInUse();

// A picture of the current resources, e.g. "statusbar.png": the English
// module's when it is in use and has one, else the program's own. A null
// image when neither has it.
QImage LanguagePicture(const QString& name);

// The program's own pictures (icons come from here whatever the language).
QString OwnPicturePath(const QString& name);

// The name the module is looked up by ("libResENG.so" on Linux).
QString ResourceModuleFileName();
