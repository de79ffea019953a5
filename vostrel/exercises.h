// vostrel's four further exercise routines. The program's entry never calls them.
#pragma once

int main1();  // value pair with a factorial term
int mainT2(); // circle measures
int mainT3(); // rectangle measures
int maint3(); // series accumulator
