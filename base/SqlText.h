#pragma once

#include <QString>

// Text put into an SQL statement by hand. Whatever a workbook, a match file
// or the operator names goes through these, so that no name or value can end
// its quotes early and become part of the statement.

// A text as a string literal: between single quotes, each single quote doubled.
QString SqlLiteral(const QString& text);

// A name between brackets, each "]" doubled: "Weight [kg]" is "[Weight [kg]]]".
// The sheet engine reads names so, and so does SQL Server.
QString BracketName(const QString& name);
