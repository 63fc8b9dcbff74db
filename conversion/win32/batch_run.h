// The two batch runs of the main window: the selected files, or every listed file,
// converted one after another into the output folder, with progress and Stop.
#pragma once

class MainWindow;

// Handler of Convert: the selected rows. Ends at the first file that fails.
void ConvertSelected(MainWindow& window);

// Handler of Convert All: every row. A failed file does not end the run.
void ConvertAll(MainWindow& window);
