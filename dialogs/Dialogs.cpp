// The table chooser and the folder chooser.
