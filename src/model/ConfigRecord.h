#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// The one set of named fields the main window owns for its whole life: the
// assignments, intensities and texts of a configuration, plus the working
// fields of the panel link. Every number is a 16-bit signed integer, every
// text a string; all start at 0 or empty.
struct ConfigRecord {
    // Channel codes as the editors last left them; also where an opened file
    // puts its codes before they are selected in the lists.
    qint16 s1 = 0, s2 = 0, s3 = 0, s4 = 0, s5 = 0, s6 = 0, s7 = 0, s8 = 0, s9 = 0, s10 = 0;
    qint16 led1 = 0, led2 = 0, led3 = 0, led4 = 0, led5 = 0, led6 = 0, led7 = 0, led8 = 0, led9 = 0,
           led10 = 0;

    // Outgoing channel codes, gathered from the lists just before a write or a save.
    qint16 s1w = 0, s2w = 0, s3w = 0, s4w = 0, s5w = 0, s6w = 0, s7w = 0, s8w = 0, s9w = 0,
           s10w = 0;
    qint16 led1w = 0, led2w = 0, led3w = 0, led4w = 0, led5w = 0, led6w = 0, led7w = 0, led8w = 0,
           led9w = 0, led10w = 0;

    // Module part (0, 10 ... 150) and channel part (0 ... 9) of each item.
    qint16 s1m = 0, s1c = 0, s2m = 0, s2c = 0, s3m = 0, s3c = 0, s4m = 0, s4c = 0, s5m = 0, s5c = 0,
           s6m = 0, s6c = 0, s7m = 0, s7c = 0, s8m = 0, s8c = 0, s9m = 0, s9c = 0, s10m = 0,
           s10c = 0;
    qint16 led1m = 0, led1c = 0, led2m = 0, led2c = 0, led3m = 0, led3c = 0, led4m = 0, led4c = 0,
           led5m = 0, led5c = 0, led6m = 0, led6c = 0, led7m = 0, led7c = 0, led8m = 0, led8c = 0,
           led9m = 0, led9c = 0, led10m = 0, led10c = 0;

    // Backlighting and dimming input: code, module part, channel part. The
    // dimming channel list has no click behaviour, so dimchc stays 0.
    qint16 bl = 0, blm = 0, blc = 0;
    qint16 dimch = 0, dimchm = 0, dimchc = 0;

    // Intensity codes: normal backlighting, normal indicator, dimmed.
    qint16 blpercent = 0, indpercent = 0, dindpercent = 0;

    qint16 timer_flag = 0, error_flag = 0, config_flag = 0;
    qint16 address_l = 0, data_l = 0;
    qint16 m_index = 0, c_index = 0;
    qint16 temp1 = 0;
    qint16 A = 0;

    QString rmodel;
    QString panel;
    QString s1desig, s2desig, s3desig, s4desig, s5desig, s6desig, s7desig, s8desig, s9desig,
        s10desig;
    QString led1desig, led2desig, led3desig, led4desig, led5desig, led6desig, led7desig, led8desig,
        led9desig, led10desig;
    QString blchan, dimchan, blpct, indpct, dindpct;
    QString wmodel;

    bool operator==(const ConfigRecord&) const = default;
};

using RecordInt = qint16 ConfigRecord::*;
using RecordText = QString ConfigRecord::*;

// The twenty switches and LEDs in their usual order, SW1 ... SW10 then LED1 ... LED10.
namespace Items {
inline constexpr std::array<RecordInt, 20> code = {
    &ConfigRecord::s1,   &ConfigRecord::s2,   &ConfigRecord::s3,   &ConfigRecord::s4,
    &ConfigRecord::s5,   &ConfigRecord::s6,   &ConfigRecord::s7,   &ConfigRecord::s8,
    &ConfigRecord::s9,   &ConfigRecord::s10,  &ConfigRecord::led1, &ConfigRecord::led2,
    &ConfigRecord::led3, &ConfigRecord::led4, &ConfigRecord::led5, &ConfigRecord::led6,
    &ConfigRecord::led7, &ConfigRecord::led8, &ConfigRecord::led9, &ConfigRecord::led10};

inline constexpr std::array<RecordInt, 20> outgoing = {
    &ConfigRecord::s1w,   &ConfigRecord::s2w,   &ConfigRecord::s3w,   &ConfigRecord::s4w,
    &ConfigRecord::s5w,   &ConfigRecord::s6w,   &ConfigRecord::s7w,   &ConfigRecord::s8w,
    &ConfigRecord::s9w,   &ConfigRecord::s10w,  &ConfigRecord::led1w, &ConfigRecord::led2w,
    &ConfigRecord::led3w, &ConfigRecord::led4w, &ConfigRecord::led5w, &ConfigRecord::led6w,
    &ConfigRecord::led7w, &ConfigRecord::led8w, &ConfigRecord::led9w, &ConfigRecord::led10w};

inline constexpr std::array<RecordText, 20> desig = {
    &ConfigRecord::s1desig,   &ConfigRecord::s2desig,   &ConfigRecord::s3desig,
    &ConfigRecord::s4desig,   &ConfigRecord::s5desig,   &ConfigRecord::s6desig,
    &ConfigRecord::s7desig,   &ConfigRecord::s8desig,   &ConfigRecord::s9desig,
    &ConfigRecord::s10desig,  &ConfigRecord::led1desig, &ConfigRecord::led2desig,
    &ConfigRecord::led3desig, &ConfigRecord::led4desig, &ConfigRecord::led5desig,
    &ConfigRecord::led6desig, &ConfigRecord::led7desig, &ConfigRecord::led8desig,
    &ConfigRecord::led9desig, &ConfigRecord::led10desig};
inline constexpr std::array<RecordInt, 20> modulePart = {
    &ConfigRecord::s1m,   &ConfigRecord::s2m,   &ConfigRecord::s3m,   &ConfigRecord::s4m,
    &ConfigRecord::s5m,   &ConfigRecord::s6m,   &ConfigRecord::s7m,   &ConfigRecord::s8m,
    &ConfigRecord::s9m,   &ConfigRecord::s10m,  &ConfigRecord::led1m, &ConfigRecord::led2m,
    &ConfigRecord::led3m, &ConfigRecord::led4m, &ConfigRecord::led5m, &ConfigRecord::led6m,
    &ConfigRecord::led7m, &ConfigRecord::led8m, &ConfigRecord::led9m, &ConfigRecord::led10m};

inline constexpr std::array<RecordInt, 20> channelPart = {
    &ConfigRecord::s1c,   &ConfigRecord::s2c,   &ConfigRecord::s3c,   &ConfigRecord::s4c,
    &ConfigRecord::s5c,   &ConfigRecord::s6c,   &ConfigRecord::s7c,   &ConfigRecord::s8c,
    &ConfigRecord::s9c,   &ConfigRecord::s10c,  &ConfigRecord::led1c, &ConfigRecord::led2c,
    &ConfigRecord::led3c, &ConfigRecord::led4c, &ConfigRecord::led5c, &ConfigRecord::led6c,
    &ConfigRecord::led7c, &ConfigRecord::led8c, &ConfigRecord::led9c, &ConfigRecord::led10c};
} // namespace Items
