// TGradeDados: one dataset as a grid shows and edits it, the model under both front ends.
// It gives the visible columns and their captions, each cell's text as the grid writes it,
// and edits cells the way the grid does, so that the command line and the desktop go
// through the same checks. It neither prints nor draws (GradeTexto_U renders it).
//
// A cell's text: the tick column (CampoMarca) gives "✓" or ""; a value list gives the
// caption of the value (the value itself when the list lacks it); a DisplayFormat formats
// numbers with FormatFloat and dates with FormatDateTime; otherwise dates are dd/mm/yyyy,
// money "#,##0.00", other numbers as FloatToStr writes them, a Boolean "Sim"/"Não". Numbers
// take a Brazilian screen's separators (FormatSettingsTela: "1.234,56"), never the
// process-wide ones the court files are written with.
//
// An edit of a row: Edit(), then for each cell the column's checks in this order -- a
// read-only or lookup column is refused, the text must be a caption or a value of the
// value list, and must suit the field's type (a number as the grid writes it, see
// NumeroDaGrade; a date dd/mm/yyyy or yyyy-mm-dd; a text no longer than the field) --
// then OnValidate, then the value is stored (OnChange runs); after the row's
// cells, Post() (BeforePost runs). Any refusal cancels the row and raises EGradeRecusa
// naming the row and the column. OnValidate gets the text as it will be stored: a value
// list's caption already turned into its value, a number without grouping and with "." for
// decimals, a date as dd/mm/yyyy. An empty text clears the cell.
//
// The rows a key names: the columns of CamposChave; a dataset without them is keyed by its
// visible read-only columns (the ones the user cannot change), which must then tell every
// row of an import apart.
//
// REQUIRES: the dataset outlives the grid.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ClientDataSet_U.h"
#include "Exceptions_U.h"

namespace nFramework {

// A mistake in what was asked of a grid: a column, a dataset or an expression it does not
// know, a file that does not fit it. Raised before anything was changed.
class EGrade : public Exception {
 public:
  using Exception::Exception;
};

// An edit the grid refused. The row was cancelled (it keeps its earlier values); the text is
// 'Linha 3 (Tipo = 5), coluna "Regra": Regra definida é inválida.' (the columns: the
// captions of the cells refused; all of the row's edited cells when its Post refused them).
class EGradeRecusa : public Exception {
 public:
  EGradeRecusa(std::string aLinha, std::vector<std::string> aColunas, std::string aMotivo,
               std::string aPrefixo = {});
  const std::string& Linha() const { return FLinha; }
  const std::vector<std::string>& Colunas() const { return FColunas; }
  const std::string& Motivo() const { return FMotivo; }

 private:
  std::string FLinha;
  std::vector<std::string> FColunas;
  std::string FMotivo;
};

// "CAMPO=valor" of a command: a column by field name or caption, and the text to type.
struct TAtribuicaoGrade {
  std::string Coluna;
  std::string Texto;
};

class TGradeDados {
 public:
  // aNome: the component name the process knows the dataset by; empty: the dataset's Name.
  explicit TGradeDados(TClientDataSet& aDataSet, std::string aNome = {});

  TClientDataSet& DataSet() const { return FDataSet; }
  const std::string& Nome() const { return FNome; }
  // DisplayCaption, else the name.
  std::string Titulo() const;

  // The visible columns in field order.
  std::vector<TField*> Colunas() const;
  // The columns a CSV of the grid carries: the hidden key columns first, then the visible.
  std::vector<TField*> ColunasCSV() const;
  // DisplayLabel, else the field name.
  static std::string TituloColuna(const TField& aCampo);
  // The caption as a CSV header writes it: with the field name in brackets when another
  // column of the CSV has the same caption ("Data [DATAENVIO]").
  std::string CabecalhoCSV(const TField& aCampo) const;
  // A column by field name, else by caption, without regard to case; nullptr when none.
  TField* Coluna(std::string_view aNome) const;
  // Raises EGrade naming the columns when there is none of that name.
  TField& ColunaPorNome(std::string_view aNome) const;
  TField* Marca() const;
  std::vector<TField*> Chave() const;
  // Whether a cell edit of the column can be accepted at all.
  bool Editavel(const TField& aCampo) const;

  // Texts of the current row.
  std::string Texto(const TField& aCampo) const;
  // As a CSV writes the cell: the tick column "1" or "0", any other the grid's text.
  std::string TextoCSV(const TField& aCampo) const;
  bool Marcada() const;    // the tick column holds a non-zero value
  bool Destacada() const;  // CampoEstilo holds a non-zero value
  // "Linha 3 (Tipo = 5)": the row's number in the grid and its key columns' texts.
  std::string DescricaoLinha() const;

  // The rows where a filter expression of the dataset's syntax holds, in grid order; an
  // empty expression gives every row. Raises EGrade for an expression it cannot read.
  std::vector<TClientDataSet::TBookmark> Linhas(std::string_view aExpressao);
  // Visits every row in grid order with the cursor on it; the cursor returns where it was.
  void ParaCadaLinha(const std::function<void()>& aVisita);

  // The current row: each (column, text) through the column's checks, then one Post.
  void EditarLinha(const std::vector<std::pair<TField*, std::string>>& aCelulas);
  // Ticks (or unticks) the rows where the expression holds; rows already so are left alone.
  // Gives the number of rows changed. Raises EGrade when the grid has no tick column.
  int Marcar(std::string_view aExpressao, bool aMarcar);
  // Sets the cells on the rows where the expression holds; gives the number of rows.
  int Definir(std::string_view aExpressao, const std::vector<TAtribuicaoGrade>& aAtribuicoes);

  // What an import changed.
  struct TResultadoImportacao {
    int Linhas = 0;   // grid rows changed
    int Celulas = 0;  // cells changed
  };
  // Applies a CSV already split into rows of cells (the header of captions first), keyed by
  // the key columns. Every line is matched to one grid row before any edit: an unknown or
  // missing column, a key no row has or more than one has, two lines for one row or a line
  // of the wrong width raise EGrade and change nothing. Then, row by row in grid order, the
  // cells whose text differs from the grid's are edited; the first refusal stops the import
  // with EGradeRecusa (its text names the file's line too). Keys and cells of number columns
  // compare by value (TextoComparavel). aOrigem names the file in messages.
  TResultadoImportacao Importar(const std::vector<std::vector<std::string>>& aLinhas, const std::string& aOrigem);

 private:
  void GravarCelula(TField& aCampo, const std::string& aTexto);
  // A file's text or a cell's as an import compares them: a number as its value, so a
  // spreadsheet that writes "1500" for "1.500,00" or "1551" for the CFOP "1.551" neither
  // edits the cell nor misses the row.
  std::string TextoComparavel(const TField& aCampo, const std::string& aTexto) const;
  // Runs aAcao on each of the rows, in grid order, with the cursor on the row. An edit that
  // moves its row (a changed index field) starts the walk over, skipping the rows done.
  void Percorrer(const std::vector<TClientDataSet::TBookmark>& aLinhas,
                 const std::function<void(TClientDataSet::TBookmark)>& aAcao);
  std::string ListaColunas() const;

  TClientDataSet& FDataSet;
  std::string FNome;
};

// The number a grid text holds, as canonical text ("-1234.5"). The text is as a Brazilian
// screen writes it (FormatSettingsTela): "," for the decimals, "." only between groups of
// three digits ("1.234,5", "1234,5"), whatever the process-wide FormatSettings. A point that
// groups nothing ("2.5") is refused rather than guessed at, as "2.500" is 2500.
// Raises EConvertError for anything else.
std::string NumeroDaGrade(std::string_view aTexto);

}  // namespace nFramework
