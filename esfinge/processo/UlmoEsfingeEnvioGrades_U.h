// The two grids of the e-Sfinge send ("nClientDataSetConta", "nClientDataSetLcto"): their
// columns, how they show, and the writing of typed rows into them, every row unticked.
#pragma once
#include <memory>

#include "ClientDataSet_U.h"
#include "UlmoEsfingeEnvioLinhas_U.h"

namespace nUlmoEsfinge {

std::unique_ptr<nFramework::TClientDataSet> NovaGradeContas();
std::unique_ptr<nFramework::TClientDataSet> NovaGradeLctos();

// REQUIRES: the grid comes from NovaGradeContas / NovaGradeLctos.
void EscreverConta(nFramework::TClientDataSet& grade, const TLinhaContaEsfinge& linha);
void EscreverLcto(nFramework::TClientDataSet& grade, const TLinhaLctoEsfinge& linha);

// Appends entry rows to the entry grid, its columns looked up once for all the rows.
// REQUIRES: the grid comes from NovaGradeLctos and outlives the writer.
class TEscritorGradeLctos {
 public:
  explicit TEscritorGradeLctos(nFramework::TClientDataSet& grade);
  void Escrever(const TLinhaLctoEsfinge& linha);

 private:
  nFramework::TClientDataSet& FGrade;
  nFramework::TField *FEnviar, *FSlip, *FSeq, *FChave, *FContaTce, *FClassifTce, *FTipo, *FTipoMov, *FDescrMov,
      *FAno, *FCodigo, *FInicio, *FFim, *FContaCtb, *FClassifCtb, *FData, *FValor, *FHistorico;
};

// A grid's controls stay off while rows are added; on the first row again however it ends.
class TGradeEmCarga {
 public:
  explicit TGradeEmCarga(nFramework::TClientDataSet& grade) : FGrade(grade) { FGrade.DisableControls(); }
  ~TGradeEmCarga() {
    FGrade.First();
    FGrade.EnableControls();
  }
  TGradeEmCarga(const TGradeEmCarga&) = delete;
  TGradeEmCarga& operator=(const TGradeEmCarga&) = delete;

 private:
  nFramework::TClientDataSet& FGrade;
};

}  // namespace nUlmoEsfinge
