// The grid options of `ulmo run`: what the user ticks, edits and imports in a process's grid
// datasets after its run, and how the grids are printed. The work is the grid model's
// (framework/GradeDados_U); this unit picks the datasets, applies the options in their order
// and writes the results.
#pragma once
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "GradeDados_U.h"
#include "PowerParam_U.h"

// One grid option, in command-line order.
struct TPassoGrade {
  enum TTipo { Grade, Marcar, Desmarcar, Definir, Importar } Tipo = Grade;
  std::string Texto;                      // Grade: the grid; Marcar/Desmarcar/Definir: the expression
                                          // ("todos": every row); Importar: the file
  std::vector<std::string> Atribuicoes;  // Definir: "FIELD=value"
};

struct TOpcoesGrade {
  std::vector<TPassoGrade> Passos;
  bool Mostrar = false;
  std::string MostrarGrade;         // empty: every grid
  std::string Formato = "tabela";  // tabela, csv, json
  int Largura = 100;                // of a table
  // Whether some option changes a grid (all but --grade and --mostrar).
  bool Altera() const;
};

// A grid dataset of a process, by the component name the process gives in DataSetsGrade().
struct TGradeProcesso {
  std::string Componente;
  std::unique_ptr<nFramework::TGradeDados> Grade;
};
// Raises EGrade when a name DataSetsGrade() gives is not a dataset of the process.
std::vector<TGradeProcesso> GradesDoProcesso(nFramework::TnDMPowerParam& aProcesso);

// The checks that need no run: the names of grids and formats, the "FIELD=value" of each
// --definir, and whether a step must name its grid. Raises EGrade.
void ConferirOpcoesGrade(const TOpcoesGrade& aOpcoes, std::vector<TGradeProcesso>& aGrades,
                         const std::string& aClasse);
// Reads the files of the --importar options (so that a missing file stops before the run):
// the split lines, one entry per Importar step in order. Raises EGrade.
std::vector<std::vector<std::vector<std::string>>> LerImportacoes(const TOpcoesGrade& aOpcoes);
// Applies the steps in order, saying on aErr what each changed. Raises what the grid model
// raises (EGrade, EGradeRecusa).
void AplicarPassosGrade(const TOpcoesGrade& aOpcoes, std::vector<TGradeProcesso>& aGrades,
                        const std::vector<std::vector<std::vector<std::string>>>& aImportacoes, std::ostream& aErr);
// Prints the grids --mostrar names in the format asked.
void MostrarGrades(const TOpcoesGrade& aOpcoes, std::vector<TGradeProcesso>& aGrades, std::ostream& aOut);
// The grids and their columns, for `ulmo params`.
void ImprimirColunasGrades(std::vector<TGradeProcesso>& aGrades, std::ostream& aOut);
