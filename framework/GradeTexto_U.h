// Texts of a grid (TGradeDados) for a terminal, a spreadsheet or a script, and the reading
// of a CSV back into rows of cells for an import.
//
// The table: the grid's title, the captions and the cells of the visible columns as the grid
// shows them, fitted to a width. Columns are narrowed (widest first, never below ten
// characters or their own width) and long cells cut with "…"; columns that still do not fit
// are left out from the right, and a note says which. Numbers are aligned on the right.
// Control characters in a cell are shown as blanks, so one row stays one line.
//
// The CSV: UTF-8 without BOM, ";" between cells, "\n" after each line, the captions first
// (CabecalhoCSV), the columns of ColunasCSV (so hidden key columns too), the cells as the grid
// shows them but the tick column as "1" or "0"; a cell with ";", a quote or a line break is
// quoted, quotes doubled. This is the format Importar takes back.
//
// The JSON: an array with one object per grid:
//   {"grade": component name, "titulo": title,
//    "colunas": [{"campo", "titulo", "tipo", "visivel", "editavel", "chave", "marca",
//                 "lista": [{"titulo", "valor"}] (value lists only), "formato" (when set)}],
//    "linhas": [{"valores": {field: raw value}, "textos": {field: the grid's text},
//                "marcada": bool (grids with a tick column), "destaque": bool (with CampoEstilo)}]}
// every field of the dataset, hidden ones too. Raw values: integers and floats as numbers,
// money as a decimal string ("1234.5"), so no cent goes through a binary float, dates as
// "yyyy-mm-dd", date-times as "yyyy-mm-dd hh:nn:ss", Booleans as true/false, null as null.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "GradeDados_U.h"

namespace nFramework {

// aLargura: the characters a line may have; below 30 counts as 30.
std::string TabelaGrade(TGradeDados& aGrade, int aLargura);
std::string CSVGrade(TGradeDados& aGrade);
std::string JSONGrades(const std::vector<TGradeDados*>& aGrades);

// Splits a CSV as CSVGrade writes it (a BOM, "\r\n" line ends and a last line without end
// are accepted too). Raises EGrade naming aOrigem and the line for text that is not UTF-8,
// a quote left open or text after a closing quote, and for a file over 64 MiB.
std::vector<std::vector<std::string>> LerCSV(std::string_view aTexto, const std::string& aOrigem);

}  // namespace nFramework
