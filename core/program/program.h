#pragma once
// The program's state and its commands: the current sounding (S, SM, the plot
// frames and the inversion settings), the view switches and every command of
// the command table, each with its preconditions and messages. The menus of
// the desktop program and the verbs of zeva-cli both call these commands, so
// both behave alike. Everything the user sees goes through the toolkit.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "core/program/model_commands.h"
#include "core/program/new_sounding.h"
#include "core/program/program_types.h"
#include "core/program/undo_history.h"
#include "core/program/usf_import.h"
#include "core/record/current_sounding.h"
#include "core/record/gaussian_deviate.h"
#include "core/record/view_switches.h"
#include "settings/settings.h"
#include "ui/toolkit/toolkit.h"

// The import kinds, the import request and the TEM time units of the flat
// ASCII importers (files/flat_ascii_import.h), which callers that name them
// include.
namespace zeva::files {
enum class FlatAsciiKind;
enum class TemTimeUnit;
struct FlatAsciiRequest;
}  // namespace zeva::files

namespace zeva::core {

// The switches of the View menu, each toggled by one menu entry.
enum class ViewToggle {
  Zoom,
  Layered,
  Smooth,
  Equivalence,
  Bostick,
  Niblett,
  RedLine,
  ModelOnData,
  Voltage,
  LinearTime,
  MajorGridData,
  MinorGridData,
  MajorGridModel,
  MinorGridModel
};

inline constexpr std::string_view kModelOnDataRefusedMessage =
    "Model cannot be displayed on data display for";

// The parameters an inversion command may change: all of them, or only the
// resistivity part (layer resistivities and thicknesses) or the IP part.
enum class InversionScope { All, ResistivityOnly, IpOnly };

// The status-bar pane that shows the fit of the layered model.
inline constexpr int kFitStatusPane = 1;

inline constexpr std::string_view kSyntheticNotValidMessage =
    "Sythetic data not valid. Please do forward model";
inline constexpr std::string_view kNoisePrompt = "Add random noise to Synthetic (%)";
inline constexpr std::string_view kNoDataOrModelMessage =
    "Inversion needs data and a layered model";
inline constexpr std::string_view kNoIpMessage =
    "IP inversion needs IP data and a model with IP parameters";

// Choices of the import dialogs (data type, units, geometry) that a caller
// may give instead of having them asked.
struct ImportChoices {
  std::optional<std::string> dataType;
  std::optional<bool> voltageAndCurrent;
  std::optional<std::string> ipUnit;          // "(pfe)", "(mSec)" or "(mRad)"
  std::optional<std::string> temVoltageUnit;  // e.g. "(uV/Amp)"
  std::optional<files::TemTimeUnit> timeUnit;
  std::optional<float> fixedSpacing, fixedHeight;  // MaxMin coil geometry
  std::optional<int> mode;
  std::optional<float> dipoleLength;      // dipole arrays: the dipole length a
  std::optional<std::string> lengthUnit;  // "(meters)" or "(feet)"
};

// The import dialog of a family, shown after the question to save: it fills
// in the choices and returns false when the user cancels.
using ImportDialog = std::function<bool(files::FlatAsciiKind kind, ImportChoices& choices)>;

// The column dialog of the flat ASCII importers: shows `file` and fills in
// the column settings and the request's choices; false when the user
// cancels (the settings then keep their values). Without one, the
// columns are asked one prompt at a time.
using ColumnDialog =
    std::function<bool(const std::filesystem::path& file, files::FlatAsciiRequest& request,
                       settings::ImportColumns& columns)>;

// Import formats that have no reader: their commands say so.
enum class UnsupportedImport { Emi, GeotoolsTbl, KovatTem };

inline constexpr std::string_view kInvertBeforeEquivalenceMessage =
    "Please do inversion before analyzing equivalence";
inline constexpr std::string_view kSmoothBeforeEquivalenceMessage =
    "Please estimate smooth model before analyzing smooth equivalence";
inline constexpr std::string_view kSingleLayerDeleteMessage =
    "Cannot delete layer from single layer model";
inline constexpr std::string_view kNoWellLogMessage = "No well log has been read";
inline constexpr std::string_view kSmoothZminPrompt =
    "Depth of the first smooth-model boundary (m), 0 from the data";
inline constexpr std::string_view kSmoothZmaxPrompt =
    "Depth the smooth-model grid reaches (m), 0 from the data";
inline constexpr std::string_view kNoUsableLogMessage =
    "NO DEPTH AND POSITIVE RESISTIVITY IN WELL LOG: ";

// Which parameters the fix and free commands of the popup menus act on.
enum class FixTarget { Resistivity, Boundary };

// Whether a character may stand in a file name on every system the files
// travel to, and a sounding name with the others left out (never empty).
bool isFileNameCharacter(char c);
std::string fileNameOfSounding(std::string_view name);

class Program {
 public:
  // `dataFolder` is the working folder at start: where native files are found
  // by name (Reload), where Save writes and where the native file dialogs
  // start; Open and Save As move it to the folder of their file.
  // `debugLog` receives the "ERROR:" lines (may be null).
  explicit Program(ui::Toolkit& toolkit, std::filesystem::path dataFolder = {},
                   std::ostream* debugLog = nullptr);

  // Builds the default sounding, detects its segments and shares its data
  // with the smooth instance, as at start-up.
  void startUp();

  CurrentSounding& current() { return current_; }
  const CurrentSounding& current() const { return current_; }
  Sounding& S() { return current_.S; }
  Sounding& SM() { return current_.SM; }
  ViewSwitches& view() { return view_; }
  ui::Toolkit& toolkit() { return toolkit_; }
  const std::filesystem::path& dataFolder() const { return dataFolder_; }
  void setDataFolder(std::filesystem::path folder) { dataFolder_ = std::move(folder); }

  // Runs segment detection on S and gives SM the changed header and data.
  void detectSegments();

  // Writes "ERROR:" and a calculation's error code to the debug log.
  void logError(int code);

  // Asks to save an unsaved sounding: Yes saves and goes on, No goes on,
  // Cancel (or a failed save) returns false and the command ends.
  [[nodiscard]] bool askToSave();

  // File commands of the native .ZVR file. A file is read into a record of
  // its own that replaces the current sounding only when it was read whole;
  // when a damaged file still gave readings and a model, the user may take
  // them as a new unsaved sounding named after the file with a "*". A failed
  // save leaves the name and the saved flag as they were.
  bool open();                                       // "&Open": ask to save, choose, read
  bool openFile(const std::filesystem::path& file);  // read a named file as Open does
  // The file `name` + ".ZVR" (default: the sounding's own name) in the
  // working folder.
  bool reload(std::string_view name = {});
  bool save();    // "&Save": as Save As when the name cannot be a file name ("*")
  bool saveAs();  // "Save_&As", offering the name without the characters a file name cannot hold
  bool saveFileAs(const std::filesystem::path& file);
  // Reads a recovery file kept by an earlier run as a new, unsaved sounding
  // whose name ends in "*"; false, with the sounding unchanged, when it
  // cannot be read whole.
  bool recover(const std::filesystem::path& file);
  // The native file last read or written (empty before any).
  const std::filesystem::path& soundingFile() const { return soundingFile_; }

  // Undo and redo (undo_commands.cpp). The window calls noteChanges() after
  // every command and mouse edit: when the record changed, its state before
  // becomes an undo step. Undo and redo put a whole earlier or later record
  // back and mark it unsaved; false when there is no step.
  void resetHistory();
  bool noteChanges();
  bool undo();
  bool redo();
  // Puts the record back as of the last noteChanges(): after a command that
  // stopped half-way.
  bool revertToLastState();
  bool canUndo() const { return history_.canUndo(); }
  bool canRedo() const { return history_.canRedo(); }
  // The record's bytes as of the last noteChanges(), a complete native file.
  const std::string& recordState() const { return history_.state(); }

  // Set when a command changed the axes' needs (a new sounding, a stored
  // frame without scale); the window runs the plot set-up and clears it.
  bool autoscalePending() const { return autoscalePending_; }
  void requestAutoscale() { autoscalePending_ = true; }
  void clearAutoscale() { autoscalePending_ = false; }
  // The sounding name handed back by the last file action, for the settings file.
  const NameText& lastSoundingName() const { return lastSoundingName_; }

  // Edit, "&Shift Data Segments" (shift_commands.cpp), with the choices of
  // the "Shift Data Options" dialog: mode 1 match long spacing, 2 match
  // short spacing, 3 do not shift; target 1 shift the data and reduce the
  // number of points, 2 shift the synthetics. False, after the message, for
  // data types other than Schlumberger or choices out of range.
  bool shiftDataSegments(int mode, int target);

  // Calculate, "&Forward" (model_commands.cpp): the synthetic data and fit of
  // the layered model, by the forward routine of the data type. False, with
  // a message and the sounding unchanged, for the marine TEM types (no
  // forward model).
  bool forwardModel();
  // Replaces the layered model of S (NLAYER, NPK and NPAR follow; limits
  // off), clearing the synthetic, resolution, equivalence and saved flags.
  // False, with a message and the model unchanged, when the lists do not
  // make a model.
  bool setLayeredModel(const LayeredModelRequest& request);

  // Calculate, Inverse (inversion_commands.cpp): "&Single Iteration" and
  // "&Multiple Iterations" with the forward routine of the data type, over
  // all parameters or, restricted, with the other parameters fixed and the
  // other data columns masked for the run (the user's fixes and masks are
  // put back afterwards). The restricted multiple runs make at most three
  // iterations. Empty when the command was refused with a message.
  std::optional<InversionRun> singleIteration(InversionScope scope = InversionScope::All);
  std::optional<InversionRun> multipleIterations(InversionScope scope = InversionScope::All);
  // "&Transfer Synthetic to Data": the synthetics become the data, with the
  // Gaussian noise in percent the user asks for. False when refused or
  // cancelled.
  bool transferSyntheticToData();
  // Starts the noise of the transfers anew from `seed` (a run starts from 0),
  // so that scripted studies can draw independent noise for each sounding.
  void seedTransferNoise(std::int32_t seed);

  // Import and export commands (exchange_commands.cpp). Each import asks to
  // save, reads into a new record and replaces the data of the current
  // sounding only when the reading succeeds; false when refused, cancelled
  // or failed. Each export returns false when cancelled or failed.
  bool importUsfData();  // 40096
  bool importFlatAsciiData(files::FlatAsciiKind kind, const ImportChoices& choices = {},
                           const ImportDialog& dialog = {});  // 40015 40066 40016 40090 40064 40086
  bool importEdiData();                                       // 40040
  bool importUnsupported(UnsupportedImport format);           // 40063 40065 40087
  bool importAsciiModel();                                    // 40038
  bool exportAsciiData();                                     // 40041
  bool exportAsciiSynthetics();                               // 40017
  bool exportSmoothSynthetics();                              // 40018
  bool exportAsciiModel();                                    // 40049
  bool exportSmoothModel();                                   // 40058
  bool exportEquivalentModels();                              // 40165
  bool exportUsfData();                                       // 40094

  // Readings typed into the data editor (data_entry_commands.cpp). File,
  // New: `entered` (a header from newSoundingHeader with its readings)
  // replaces the data of the current sounding; the model stays and is
  // prepared for the new data. Edit, "&Data": the edited readings replace
  // the data and the sounding keeps its name. Both detect segments, ask for
  // the plot set-up and mark the sounding unsaved; false, with a message and
  // nothing changed, when `entered` holds no readings or its arrays do not
  // match its counts. The caller asks to save before a new sounding.
  bool newSounding(Sounding& entered);
  bool replaceData(Sounding& edited);

  void setColumnDialog(ColumnDialog dialog) { columnDialog_ = std::move(dialog); }
  // The columns of an import from `file`: the column dialog, or prompts.
  [[nodiscard]] bool askImportColumns(const std::filesystem::path& file,
                                      files::FlatAsciiRequest& request);

  // The user settings of ZEVA.INI (import columns among them).
  settings::Settings& settings() { return settings_; }

  // View commands (view_commands.cpp). Each toggle flips its switch with the
  // rules that tie switches together (grids: major off takes minor with it,
  // minor on brings major; voltage view and linear time), asks for the plot
  // set-up where the axes change, and redraws. False when refused: the model
  // cannot be drawn over MaxMin, MT or TEM data (modelOnDataRefused).
  bool toggleView(ViewToggle toggle);
  // The state of a switch, for the check mark of its menu entry.
  bool viewChecked(ViewToggle toggle) const;
  // True, after telling the user, when the plot of the current data type has
  // no room for the model on the data (MaxMin, "Magnetotelluric Data" and the
  // transient types).
  [[nodiscard]] bool modelOnDataRefused();
  // "&Unzoom": the plot set-up of the whole sounding, then a redraw.
  void unzoom();

  // Model commands (estimation_commands.cpp). "Estimate &Layered Model": the
  // starting model from DC data (with the IP estimate for resistivity/IP
  // models), from the Niblett transform of MT data, or from the blocked
  // Occam smooth model of MaxMin, EM conductivity and sea-floor MT data;
  // then segment detection and a forward run; false when refused (TEM data,
  // which have no forward model, and unknown types).
  bool estimateLayeredModel();
  // "Estimate &Smooth Model": SM takes the data of S and gets a smooth model
  // by ridge regression or, in Occam mode, Occam's inversion, over the depth
  // range the data give or `range`; false when refused, when an inversion run
  // failed, or, after a message, when the fit did not improve on its start
  // (the smooth model is then marked as not computed).
  bool estimateSmoothModel(const SmoothDepthRange& range = {});
  // "Smooth Model &Depth Range...": asks for the depth of the first boundary
  // and the depth the grid reaches (0: from the data), kept for the smooth
  // models of the session; false when cancelled or not 0 <= zmin < zmax.
  bool chooseSmoothDepthRange();
  const SmoothDepthRange& smoothDepthRange() const { return smoothDepthRange_; }
  // "&Weight by Error Bars": the error-weighting switch of the sounding
  // (kept in its file); the fits of the inversions then count each value in
  // its error bars.
  void toggleErrorWeighting();
  bool errorWeighting() const { return isSet(current_.S.layer.errorWeighting); }
  // "&Occam's Inversion": switches the smooth fit between Occam's inversion
  // and ridge regression (LROUGH of SM); the smooth synthetics go stale.
  void toggleOccam();
  bool occamMode() const { return isSet(current_.SM.model.LROUGH); }
  // "&Analyze Equivalence" on S, and the same on SM; each needs the
  // resolution matrix of its model and is refused with a message otherwise.
  bool analyzeEquivalence();
  bool analyzeSmoothEquivalence();

  // Popup commands of the plots and mouse editing (layer_commands.cpp);
  // `parameter` is the 1-based PAR index picked with the mouse. "&Delete
  // Layer" and "&Split Layer" act on a per-layer parameter's layer (a split
  // at `atDepth` when that lies inside the layer), then run the forward
  // routine; fixing and freeing act on a resistivity or a boundary only and
  // clear the resolution and equivalence; masking acts on a reading within
  // the data. False when the selection does not apply or after a message.
  bool deleteLayer(int parameter);
  bool splitLayer(int parameter, std::optional<float> atDepth = std::nullopt);
  bool setParameterFixed(int parameter, bool fixed, FixTarget target);
  bool setPointMasked(int point, int component, bool masked);
  // One step of a model drag: the synthetics follow the model. The release
  // then clears the resolution and equivalence and runs the forward once more.
  void dragStep();
  void finishModelDrag();
  // The mouse trace ("Rubber Model:", "Rubber Box:") goes to the debug log
  // while this is on.
  void setMouseTrace(bool on) { traceMouse_ = on; }
  void trace(std::string_view line);

  // The well log (well_log_commands.cpp): "Well Log File" reads one with the
  // flat ASCII well-log importer; "&Set Layered Model" replaces the layered
  // model by its step fit with at most `layers` layers.
  bool importWellLog();
  void setWellLog(WellLog log, std::string name);
  const WellLog& wellLog() const { return wellLog_; }
  const std::string& wellLogName() const { return wellLogName_; }
  bool setModelFromWellLog(int layers);

 private:
  // The view switches a newly read file of this data type starts with.
  void applyFileSwitchRules(bool afterReload);
  void afterRead(bool afterReload, Logical modelOnDataBefore);
  bool readNativeFile(const std::filesystem::path& file, bool afterReload);
  void offerReadablePart(const std::filesystem::path& file, CurrentSounding& read);
  bool inversionPossible(InversionScope scope);
  std::optional<InversionRun> runInversion(InversionScope scope, bool many);

  ui::Toolkit& toolkit_;
  std::filesystem::path dataFolder_;
  std::filesystem::path soundingFile_;
  std::ostream* debugLog_;
  CurrentSounding current_;
  ViewSwitches view_;
  // The noise of Transfer Synthetic to Data: one sequence through the run.
  GaussianDeviate transferNoise_;

  // Gives the current sounding the data of an import and prepares the model.
  void adoptImportedData(Sounding& imported);
  std::string exportName(std::string_view extension) const;

  settings::Settings settings_;
  UsfImportMemory usfMemory_;
  // The noise of the synthetics exports: a sequence of its own.
  GaussianDeviate exportNoise_;

  void runForwardQuietly();
  bool adoptEditedModel(bool built, Sounding& changed);
  WellLog wellLog_;
  std::string wellLogName_;
  UndoHistory history_;
  ColumnDialog columnDialog_;
  bool stepTo(const std::optional<std::string>& state);
  SmoothDepthRange smoothDepthRange_;
  bool autoscalePending_ = false;
  NameText lastSoundingName_;
  bool traceMouse_ = false;
};

}  // namespace zeva::core
