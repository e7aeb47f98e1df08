// The transfer engine: CSV reading, import, export, previews.
