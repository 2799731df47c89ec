#pragma once
// The column choices of the flat ASCII imports, remembered from one import
// to the next with the program's settings.

namespace zeva::files {

// Column numbers of the flat ASCII imports (1-based; 0 or below: the optional
// quantity is not in the file) and the row bounds (0 or below: no bound; a
// negative bound is remembered but not used).
struct ImportColumns {
  int spacing = 2;
  int resistivity = 3;
  int mn = 3;
  int current = 6;
  int firstRow = 0;
  int lastRow = 0;
  int distance = 3;
  int modelResist = 2;  // also the phase column of the MT import
  int frequency = 1;
  int inPhase = 2;
  int quadrature = 4;
  int wellDepth = 1;
  int wellResist = 3;
  bool depthTimes1000 = false;  // "LX1000=": well-log depths multiplied by 1000
  int rhoError = 4;
  int phaseError = 6;
  int ipData = 4;
  int time = 2;
  int voltage = 3;  // also the conductivity column of the EM conductivity import
  int space = 3;
  int height = 4;
};

}  // namespace zeva::files
