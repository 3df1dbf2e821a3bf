#include "TimetableSchema.h"

namespace TimetableSchema {
const char* const tables = R"(
CREATE TABLE rows (position INTEGER PRIMARY KEY, key TEXT NOT NULL, caption TEXT NOT NULL,
    style_key TEXT NOT NULL, picture TEXT NOT NULL, height INTEGER NOT NULL);
CREATE TABLE heading_columns (position INTEGER PRIMARY KEY, caption TEXT NOT NULL, width INTEGER NOT NULL,
    style_key TEXT NOT NULL);
CREATE TABLE heading_cells (row_key TEXT NOT NULL, column_position INTEGER NOT NULL, text TEXT NOT NULL,
    style_key TEXT NOT NULL);
CREATE TABLE styles (position INTEGER PRIMARY KEY, key TEXT NOT NULL, kind INTEGER NOT NULL,
    fixed_item INTEGER NOT NULL, back_color INTEGER NOT NULL, fore_color INTEGER NOT NULL,
    font_name TEXT NOT NULL, font_size REAL NOT NULL, font_bold INTEGER NOT NULL,
    font_italic INTEGER NOT NULL, font_underline INTEGER NOT NULL, font_strikethrough INTEGER NOT NULL,
    border_shown INTEGER NOT NULL, border_appearance INTEGER NOT NULL,
    horizontal_alignment INTEGER NOT NULL, vertical_alignment INTEGER NOT NULL,
    focus_shown INTEGER NOT NULL, focus_distance_x INTEGER NOT NULL, focus_distance_y INTEGER NOT NULL,
    clip_caption INTEGER NOT NULL, caption_indent INTEGER NOT NULL, free_text TEXT NOT NULL);
CREATE TABLE items (position INTEGER PRIMARY KEY, key TEXT NOT NULL, row_key TEXT NOT NULL,
    caption TEXT NOT NULL, text TEXT NOT NULL, start_time INTEGER NOT NULL, end_time INTEGER NOT NULL,
    style_key TEXT NOT NULL, picture TEXT NOT NULL, addon_data TEXT NOT NULL, series_key TEXT NOT NULL,
    movement_lock INTEGER NOT NULL, add_tag TEXT NOT NULL, tag TEXT NOT NULL);
CREATE TABLE settings (name TEXT PRIMARY KEY, value);
CREATE TABLE row_items (row_key TEXT PRIMARY KEY, spans BLOB NOT NULL);
)";
} // namespace TimetableSchema
