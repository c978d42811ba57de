#pragma once

#include "CatalogFile.h"

#include <QString>

#include <string>

// A message of the catalog file (LoadCatalog, SaveCatalog) in the window's
// language. The file's messages are English and follow fixed forms; the forms
// known here are put into the current language (supplement texts 1012, 1017,
// 1018) with the file name or value they carry, and any other message is shown
// as it is rather than lost.
QString CatalogMessageText(const std::string& message);

// What went wrong with the catalog file, in the current language (texts
// 1012, 1017, 1018, 1021, 1022); in English while no table is loaded.
QString CatalogMessageText(const zevko::CatalogFileError& error);
