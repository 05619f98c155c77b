#!/usr/bin/env bash
# Applies the host schema to a fresh database with foreign keys on, loads one small company,
# and checks what the schema must refuse, what the readers' queries get back, and the index
# each per-account or per-period read goes through.
# Usage: host_schema_test.sh <sqlite3 client> <host schema script>
set -uo pipefail
sqlite=$1
script=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
db=$work/host.db
failures=0

fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

# Every statement runs with foreign keys enforced, as the program's connection does.
run() { "$sqlite" -bail -cmd 'PRAGMA foreign_keys=ON' "$db" "$@"; }

refused() { # name, constraint expected to refuse it (FOREIGN KEY, CHECK...), statement
  if run "$3" >/dev/null 2>"$work/err"; then
    fail "$1: accepted"
  elif ! grep -q "$2 constraint failed" "$work/err"; then
    fail "$1: refused for another reason: $(cat "$work/err")"
  fi
}

accepted() { # name, statement
  if ! run "$2" >/dev/null 2>"$work/err"; then fail "$1: $(cat "$work/err")"; fi
}

rows() { # name, expected output, sqlite3 arguments...
  local name=$1 expected=$2
  shift 2
  local got
  got=$(run "$@" 2>&1)
  if [ "$got" != "$expected" ]; then
    fail "$name"
    printf '  expected:\n%s\n  got:\n%s\n' "$expected" "$got"
  fi
}

uses_index() { # name, index, query
  local plan
  plan=$(run "EXPLAIN QUERY PLAN $3" 2>&1)
  if ! grep -q "INDEX $2\b" <<<"$plan"; then
    fail "$1 does not use $2"
    printf '%s\n' "$plan"
  fi
}

# The runner applies a script as one transaction; do the same.
if ! { echo 'BEGIN;'; cat "$script"; echo 'COMMIT;'; } | run >/dev/null; then
  echo "FAIL: the script does not apply to an empty database"
  exit 1
fi

rows "declared types are the ones the dataset layer maps, names are upper case" "" "
  select m.name || '.' || p.name || ' ' || p.type
  from sqlite_master m join pragma_table_info(m.name) p
  where m.type = 'table'
    and (m.name <> upper(m.name) or p.name <> upper(p.name)
      or not (p.type in ('SMALLINT', 'INTEGER', 'BIGINT', 'TEXT', 'DOUBLE PRECISION', 'DATE', 'TIMESTAMP')
        or p.type glob 'VARCHAR([1-9]*)' or p.type glob 'CHAR([1-9]*)'
        or p.type glob 'NUMERIC([1-9]*,[0-4])'))"

rows "every state is there" "27|Paraná" "select count(*), (select NOMEESTADO from ESTADO where SIGLAESTADO = 'PR') from ESTADO"

accepted "one company" "
  insert into EMPRESA values (1, 'Empresa Um'), (2, 'Empresa Dois');
  insert into TIPOLOGRADOURO values (1, 'Rua');
  insert into ESTAB values
    (1, 1, 'Matriz', 'Empresa Um Comércio Ltda', 1, '12.345.678/0001-90', 'PR', 1, 'das Flores', '10', 'Centro', '80000-000'),
    (2, 1, 'Matriz Dois', null, null, null, null, null, null, null, null, null);
  insert into CFGPLANOESPEC values (1, 1, -1, -1, 1, 1, 1, 1, 1, 1, 1, 2, 3, 3, 3, 3, 3, 3, 3);
  insert into PLANOESPEC values
    (1, 100, '1', 'ATIVO', 1, 1, null),
    (1, 101, '1.1', 'CAIXA', 2, 1, '2024-01-02 10:00:00.000'),
    (1, 200, '2.1', 'FORNECEDORES', 2, -1, null),
    (2, 900, '1.1', 'CAIXA', 2, 1, null);
  insert into HISTORICOCTB values (1, 'Pagamento');
  insert into ORIGLCTOCTB values ('01', 'Manual');
  insert into LCTOCTB values
    (1, 1, 1, '2024-01-05', 101, 200, 150.00, 1, 'NF 10', null, '01'),
    (1, 2, null, '2024-02-10', null, 200, 20.00, null, null, 5, null),
    (1, 3, 1, '2024-03-01', 200, 101, 7.50, 1, null, null, '01'),
    (2, 1, null, '2024-01-05', 900, null, 1.00, null, null, null, null);
  insert into IMPLSALDOCTB values (1, 1, 101, '2024-01-01', 500.00, 1);
  insert into PATBEM values (1, 1, 7, 'Computador', '2024-01-31');
  insert into BANCO values (1, 'Banco do Brasil');
  insert into AGENCIA values (1, 1234, 'Centro');
  insert into CFOP values (1, 1, 1102, 'Compra para comercialização');
  insert into PESSOA values (1, 'Fornecedor Ltda', '98.765.432/0001-10');
  insert into LCTOFISENT values (1, 1, 1, 1, 123, '1', '2024-01-03', '2024-01-04');
  insert into LCTOFISENTCFOP values (1, 1, 1, 1102);
  insert into LCTOFISENTRETIDO values (1, 1, 123, '2024-01-04', 10.00, '2024-01-20', 15.00, 0, null, 0);
  insert into DUPLICATAENT values (1, 1, 1, '12/3-A', 1);
  insert into DUPLICATAENTPGTO values (1, 1, 1, 1, '2024-01-15', 100.00);
  insert into CONTADOR values (1, 'Contador', '111.222.333-44');
  insert into SOCIO values (1, 1, 'Sócio', '555.666.777-88');
  insert into CFGEMPRESAGEM values (1, 1, 1);"

# What an accounting system must never hold.
refused "account of an unknown company" "FOREIGN KEY" "insert into PLANOESPEC values (9, 1, '1', 'X', 2, 1, null)"
refused "account without a code" "NOT NULL" "insert into PLANOESPEC (CODIGOEMPRESA, CLASSIFCONTA, DESCRCONTA, TIPOCONTA) values (1, '9', 'X', 2)"
refused "account neither synthetic nor analytic" "CHECK" "insert into PLANOESPEC values (1, 300, '3', 'X', 3, 1, null)"
refused "establishment in an unknown state" "FOREIGN KEY" "insert into ESTAB (CODIGOEMPRESA, CODIGOESTAB, NOMEESTAB, SIGLAESTADO) values (1, 2, 'Filial', 'XX')"
refused "entry on another company's account" "FOREIGN KEY" "insert into LCTOCTB values (1, 9, null, '2024-01-05', 900, null, 1, null, null, null, null)"
refused "entry without any account" "CHECK" "insert into LCTOCTB values (1, 9, null, '2024-01-05', null, null, 1, null, null, null, null)"
refused "entry with an unknown history" "FOREIGN KEY" "insert into LCTOCTB values (1, 9, null, '2024-01-05', 101, null, 1, 99, null, null, null)"
refused "entry with an unknown origin" "FOREIGN KEY" "insert into LCTOCTB values (1, 9, null, '2024-01-05', 101, null, 1, null, null, null, 'ZZ')"
refused "entry key used twice in a company" "UNIQUE" "insert into LCTOCTB values (1, 1, null, '2024-01-05', 101, null, 1, null, null, null, null)"
refused "removing an account that entries use" "FOREIGN KEY" "delete from PLANOESPEC where CODIGOEMPRESA = 1 and CONTACTB = 200"
refused "opening balance of nature 2" "CHECK" "insert into IMPLSALDOCTB values (1, 1, 200, '2024-01-01', 1, 2)"
refused "opening balance of an unknown establishment" "FOREIGN KEY" "insert into IMPLSALDOCTB values (1, 5, 200, '2024-01-01', 1, -1)"
refused "opening balance of an unknown account" "FOREIGN KEY" "insert into IMPLSALDOCTB values (1, 1, 999, '2024-01-01', 1, -1)"
refused "branch of an unknown bank" "FOREIGN KEY" "insert into AGENCIA values (9, 1, 'X')"
refused "invoice operation not in use at the establishment" "FOREIGN KEY" "insert into LCTOFISENTCFOP values (1, 1, 1, 5102)"
refused "payment of an unknown payable" "FOREIGN KEY" "insert into DUPLICATAENTPGTO values (1, 1, 9, 1, '2024-01-15', 1)"
refused "company settings naming another company's partner" "FOREIGN KEY" "insert into CFGEMPRESAGEM values (2, null, 1)"
refused "company settings naming an unknown accountant" "FOREIGN KEY" "insert into CFGEMPRESAGEM values (2, 9, null)"

# Readers' queries over the host tables alone, as the processes send them.
rows "company name and registration of establishment 1" "Empresa Um|12.345.678/0001-90" "
  select E.NOMEEMPRESA, F.INSCRFEDERAL from EMPRESA E join ESTAB F on E.CODIGOEMPRESA = F.CODIGOEMPRESA
  where E.CODIGOEMPRESA = 1 and F.CODIGOESTAB = 1"

rows "reporting entity of establishment 1" "1|12.345.678/0001-90|Empresa Um Comércio Ltda|Rua|das Flores|10|Centro|80000-000" \
  -cmd '.parameter set :CODIGOEMPRESA 1' "
  SELECT E.TIPOINSCR, E.INSCRFEDERAL, E.NOMEESTABCOMPLETO, TL.DESCRTIPOLOGRAD, E.ENDERECOESTAB, E.NUMENDERESTAB, E.BAIRROENDERESTAB, E.CEPENDERESTAB FROM ESTAB E join TIPOLOGRADOURO  TL  on TL.CODIGOTIPOLOGRAD = E.CODIGOTIPOLOGRAD WHERE E.CODIGOEMPRESA = :CODIGOEMPRESA AND E.CODIGOESTAB = 1 "

rows "entries of an account in its validity and the period, both sides" "1|2024-01-05||1|150|01|Pagamento|NF 10
3|2024-03-01||2|7.5|01|Pagamento|" \
  -cmd '.parameter set :pContaCtb1 200' -cmd '.parameter set :pContaCtb2 200' -cmd '.parameter set :pCodigoEmpresa 1' \
  -cmd ".parameter set :pDataIniPlano \"'2024-01-01'\"" -cmd ".parameter set :pDataFimPlano \"'2024-12-31'\"" \
  -cmd ".parameter set :pDataInicial \"'2024-01-01'\"" -cmd ".parameter set :pDataFinal \"'2024-03-31'\"" "
  select  L.CHAVELCTOCTB ,L.DATALCTOCTB ,L.CODIGOLOTECTB ,CAST(2 as SmallInt) TIPOLCTO ,L.VALORLCTOCTB ,L.CODIGOORIGLCTOCTB ,H.DESCRHISTCTB ,L.COMPLHIST from LCTOCTB L  join historicoctb H  on H.CODIGOHISTCTB = L.CODIGOHISTCTB where L.CONTACTBDEB is not null and L.CONTACTBDEB = :pContaCtb1 and L.CODIGOEMPRESA = :pCodigoEmpresa and L.DATALCTOCTB between :pDataIniPlano and :pDataFimPlano and L.DATALCTOCTB between :pDataInicial and :pDataFinal union select L.CHAVELCTOCTB ,L.DATALCTOCTB ,L.CODIGOLOTECTB ,CAST(1 as SmallInt) TIPOLCTO ,L.VALORLCTOCTB ,L.CODIGOORIGLCTOCTB ,H.DESCRHISTCTB ,L.COMPLHIST from LCTOCTB L  join historicoctb H  on H.CODIGOHISTCTB = L.CODIGOHISTCTB where L.CONTACTBCRED is not null and L.CONTACTBCRED = :pContaCtb2 and L.CODIGOEMPRESA = :pCodigoEmpresa and L.DATALCTOCTB between :pDataIniPlano and :pDataFimPlano and L.DATALCTOCTB between :pDataInicial and :pDataFinal order by 2, 1 "

rows "accounts moved in a month" "1|101
1|200" "
  select ESPEC.CODIGOEMPRESA, ESPEC.CONTACTB from LCTOCTB CTB join PLANOESPEC ESPEC on ESPEC.CODIGOEMPRESA = CTB.CODIGOEMPRESA and (ESPEC.CONTACTB = CTB.CONTACTBDEB or ESPEC.CONTACTB = CTB.CONTACTBCRED) where CTB.CODIGOEMPRESA = 1 and CTB.DATALCTOCTB between '2024-01-01' and '2024-01-31' group by ESPEC.CODIGOEMPRESA, ESPEC.CONTACTB"

rows "synthetic accounts of a company" "1|1|100|ATIVO" \
  "SELECT CLASSIFCONTA, TIPOCONTA, CONTACTB, DESCRCONTA FROM PLANOESPEC WHERE CODIGOEMPRESA = 1 AND TIPOCONTA = 1 ORDER BY CLASSIFCONTA, TIPOCONTA"

rows "withholdings of a month" "123|2024-01-04|1|10
123|2024-01-20|2|15" \
  -cmd '.parameter set :pCodigoEmpresa 1' -cmd ".parameter set :pDataInicial \"'2024-01-01'\"" -cmd ".parameter set :pDataFinal \"'2024-01-31'\"" "
  select NUMERONF, DATALCTOFIS DATARETIDO, cast('1' as Varchar(2)) TIPORETENCAO, VALORISSQN VALORRETIDO from LCTOFISENTRETIDO where CODIGOEMPRESA = :pCodigoEmpresa and DATALCTOFIS between :pDataInicial and :pDataFinal and VALORISSQN <> 0  union all  select NUMERONF, DATAIRRF DATARETIDO, cast('2' as Varchar(2)) TIPORETENCAO, VALORIRRF VALORRETIDO from LCTOFISENTRETIDO where CODIGOEMPRESA = :pCodigoEmpresa and DATAIRRF between :pDataInicial and :pDataFinal and not DATAIRRF is null and VALORIRRF <> 0  union all  select NUMERONF, DATALCTOFIS DATARETIDO, cast('6' as Varchar(2)) TIPORETENCAO, VALORINSS VALORRETIDO from LCTOFISENTRETIDO where CODIGOEMPRESA = :pCodigoEmpresa and DATALCTOFIS between :pDataInicial and :pDataFinal and VALORINSS <> 0  union all  select NUMERONF, DATAPGTOPISCOFINSCSLL DATARETIDO, cast('22' as Varchar(2)) TIPORETENCAO, TOTALPISCOFINSCSLL VALORRETIDO from LCTOFISENTRETIDO where CODIGOEMPRESA = :pCodigoEmpresa and DATAPGTOPISCOFINSCSLL between :pDataInicial and :pDataFinal and not DATAPGTOPISCOFINSCSLL is null and TOTALPISCOFINSCSLL <> 0  order by 1, 2"

rows "payment with its payable, creditor, invoice and operation" "12/3-A|2024-01-15|100|98.765.432/0001-10|Fornecedor Ltda|2024-01-03|123|1|1|1102" "
  select DE.NUMERODUPLICATAENT, DEP.DATAPGTO, DEP.VALORPAGO, P.INSCRFEDERAL, P.NOMEPESSOA, LE.DATAEMISSAO, LE.NUMERONF, LE.SERIENF, LEC.CODIGOESTAB, LEC.CODIGOCFOP from DUPLICATAENTPGTO DEP join DUPLICATAENT DE on DE.CODIGOEMPRESA = DEP.CODIGOEMPRESA and DE.CODIGOPESSOA = DEP.CODIGOPESSOA and DE.CHAVEDUPLICATAENT = DEP.CHAVEDUPLICATAENT join PESSOA P on P.CODIGOPESSOA = DE.CODIGOPESSOA join LCTOFISENT LE on LE.CODIGOEMPRESA = DE.CODIGOEMPRESA and LE.CHAVELCTOFISENT = DE.CHAVELCTOFISENT join LCTOFISENTCFOP LEC on LEC.CODIGOEMPRESA = LE.CODIGOEMPRESA and LEC.CHAVELCTOFISENT = LE.CHAVELCTOFISENT where DEP.CODIGOEMPRESA = 1 and DEP.DATAPGTO between '2024-01-01' and '2024-01-31'"

rows "accountant and partner responsible for a company" "111.222.333-44
555.666.777-88" "
  select C.INSCRFEDERAL from CONTADOR C where C.CODIGOCONT = (select CFG.CONTADORRESPCNPJ from CFGEMPRESAGEM CFG where CFG.CODIGOEMPRESA = 1);
  select S.INSCRFEDERAL from SOCIO S join CFGEMPRESAGEM CFG on CFG.CODIGOEMPRESA = S.CODIGOEMPRESA and CFG.SOCIORESPCNPJ = S.CODIGOSOCIO where S.CODIGOEMPRESA = 1"

rows "group natures and kinds of a company" "1|-1|-1|1|1|1|1|1|1|1|2|3|3|3|3|3|3|3" \
  "select NATURGRUPO1,NATURGRUPO2,NATURGRUPO3,NATURGRUPO4,NATURGRUPO5,NATURGRUPO6,NATURGRUPO7,NATURGRUPO8,NATURGRUPO9,TIPOGRUPO1,TIPOGRUPO2,TIPOGRUPO3,TIPOGRUPO4,TIPOGRUPO5,TIPOGRUPO6,TIPOGRUPO7,TIPOGRUPO8,TIPOGRUPO9 from CFGPLANOESPEC where CODIGOEMPRESA = 1"

# Reads repeated per account or per month must not scan the whole table.
uses_index "debit side of an account" IX_LCTOCTB_DEB \
  "select * from LCTOCTB where CONTACTBDEB = 101 and CODIGOEMPRESA = 1 and DATALCTOCTB between '2024-01-01' and '2024-01-31'"
uses_index "credit side of an account" IX_LCTOCTB_CRED \
  "select * from LCTOCTB where CONTACTBCRED = 101 and CODIGOEMPRESA = 1 and DATALCTOCTB between '2024-01-01' and '2024-01-31'"
uses_index "entries of a period" IX_LCTOCTB_DATA \
  "select * from LCTOCTB where CODIGOEMPRESA = 1 and DATALCTOCTB between '2024-01-01' and '2024-01-31'"
uses_index "opening balances of an account" IX_IMPLSALDOCTB_CONTA \
  "select * from IMPLSALDOCTB where CODIGOEMPRESA = 1 and CONTACTB = 101"
uses_index "accounts by classification" IX_PLANOESPEC_CLASSIF \
  "select CONTACTB from PLANOESPEC where CODIGOEMPRESA = 1 and CLASSIFCONTA = '1.1' and TIPOCONTA = 1"
uses_index "assets acquired in a period" IX_PATBEM_AQUISICAO \
  "select * from PATBEM where CODIGOEMPRESA = 1 and DATAAQUISICAO between '2024-01-01' and '2024-01-31'"
uses_index "payments of a month" IX_DUPLICATAENTPGTO_DATA \
  "select * from DUPLICATAENTPGTO where CODIGOEMPRESA = 1 and DATAPGTO between '2024-01-01' and '2024-01-31'"
uses_index "withholdings of a month" IX_LCTOFISENTRETIDO_DATA \
  "select * from LCTOFISENTRETIDO where CODIGOEMPRESA = 1 and DATALCTOFIS between '2024-01-01' and '2024-01-31'"

rows "foreign keys hold after all of the above" "" "PRAGMA foreign_key_check"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "host schema: all checks passed"
