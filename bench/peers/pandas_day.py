#!/usr/bin/python3
"""The pay-in day as a back office's analyst would script it in pandas.

    pandas_day.py DAY_FOLDER

Reads gen_day's files, keeps the sells, joins the BO and ISIN lists on exact
keys, sorts, sums per account and security and compares the sums with the
holding report. It does no "contains" matching, writes no report and no file:
a lower bound of the work the program does. Prints, tab-separated, the CPU and
wall seconds of that work (imports excluded), the summed rows and how many of
them the holdings do not cover.
"""
import os
import sys
import time

import pandas as pd

FIRST_BALANCE_LINE = 8


def read_list(path, columns):
    table = pd.read_csv(path, sep="~", dtype=str, keep_default_na=False, encoding="latin-1")
    table = table[columns]
    # The first record of a code is the one that counts.
    return table.drop_duplicates(subset=columns[0], keep="first")


def day(folder):
    bo = read_list(os.path.join(folder, "BO.txt"), ["Client Code", "BO ID", "BO Name"])
    isin = read_list(os.path.join(folder, "ISIN.txt"), ["Scrip ID", "ISIN Code", "ISIN Name"])

    trades = pd.read_csv(os.path.join(folder, "payin_10-Dec-2026.txt"), sep="|", header=None,
                         usecols=[1, 3, 4, 6, 10], dtype=str, keep_default_na=False,
                         encoding="latin-1")
    trades.columns = ["Scrip ID", "Side", "Quantity", "Client Code", "Trade Date"]
    sells = trades[trades["Side"] == "S"].drop(columns="Side")
    sells["Quantity"] = sells["Quantity"].astype("int64")
    sells["Trade Date"] = pd.to_datetime(sells["Trade Date"], format="%d/%m/%Y")

    rows = sells.merge(bo, on="Client Code", how="left").merge(isin, on="Scrip ID", how="left")
    rows["BO ID"] = rows["BO ID"].fillna("")
    rows["ISIN Code"] = rows["ISIN Code"].fillna("")
    rows = rows.sort_values(["BO ID", "Client Code", "ISIN Code", "Quantity"],
                            ascending=[True, True, True, False], kind="mergesort")
    summed = rows.groupby(["BO ID", "ISIN Code"], sort=False, as_index=False).agg(
        Quantity=("Quantity", "sum"), ClientCode=("Client Code", "first"),
        BOName=("BO Name", "first"), ISINName=("ISIN Name", "first"),
        TradeDate=("Trade Date", "first"))

    with open(os.path.join(folder, "11DPA6UX.TXT"), encoding="latin-1", newline="") as f:
        lines = pd.Series(f.read().split("\r\n")[FIRST_BALANCE_LINE:])
    lines = lines[lines.str.len() > 0]
    holdings = pd.DataFrame({
        "BO ID": lines.str.slice(0, 16),
        "ISIN Code": lines.str.slice(17, 29).str.strip(),
        "Balance": pd.to_numeric(lines.str.rsplit(" ", n=1).str[-1], errors="coerce"),
    }).drop_duplicates(subset=["BO ID", "ISIN Code"], keep="first")

    checked = summed.merge(holdings, on=["BO ID", "ISIN Code"], how="left")
    short = checked["Quantity"] > checked["Balance"]
    missing = checked["Balance"].isna()
    return len(summed), int((short | missing).sum())


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    cpu, wall = time.process_time(), time.perf_counter()
    rows, failures = day(sys.argv[1])
    cpu, wall = time.process_time() - cpu, time.perf_counter() - wall
    print(f"total\t{wall:.6f}\t{cpu:.6f}")
    print(f"rows_left\t{rows}")
    print(f"holding_failures\t{failures}")


if __name__ == "__main__":
    main()
