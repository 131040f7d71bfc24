#pragma once

#include <QString>

class DataStore;

// A large station whose data files all change from one generation to the
// next: every record names the generation that made it, the first record of
// each file included, so that a file on disk tells which save wrote it.

// The five data files in the order a full save writes them.
enum StationFile { SpeechFile, CategoryFile, MusicTaskFile, UserFile, CommonFile, StationFiles };
const char* StationFileName(int file);

// Adds the records of one generation to an empty store (with `loading` set,
// so that adding saves nothing).
void FillStation(DataStore& store, int generation);

// Saves one file of the store; the result of the store's own save.
bool SaveStationFile(DataStore& store, int file);
// Loads one file into the store; the result of the store's own load.
bool LoadStationFile(DataStore& store, int file);
// The plain text the store would write for one file.
QString StationFileText(const DataStore& store, int file);

// The generation named by the first record of a loaded file; -1 for none.
int GenerationOf(const DataStore& store, int file);
