// A module library for the loader's tests: one unit that registers two classes and an
// expression function when the library opens, and removes the classes when it closes.
#include "ClassRegistry_U.h"
#include "FieldExpression_U.h"

namespace {

class TTesteDMUm : public nFramework::TnDataModule {
  N_CLASSE(TTesteDMUm)
};

class TTesteDMDois : public nFramework::TnDataModule {
  N_CLASSE(TTesteDMDois)
};

const nFramework::TnRegistroUnidade gRegistro{nFramework::nClasse<TTesteDMUm>(), nFramework::nClasse<TTesteDMDois>()};

struct TFuncoes {
  TFuncoes() {
    nFramework::FieldExpressionFunctions().RegisterFunction(
        "TESTEMODULO", [](const std::vector<std::string>&) { return nFramework::TVariant(true); });
  }
} gFuncoes;

}  // namespace
