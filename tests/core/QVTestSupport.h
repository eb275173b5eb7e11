#pragma once

#include "core/object/QVException.h"
#include "core/object/QVObject.h"

#include <gtest/gtest.h>

#include <string>

// Runs action and returns the message of the QVException it throws, read back through ToString
// as a user of the exception would, or a marker when nothing or something else was thrown.
template <typename Action>
std::string ThrownMessage(Action action)
{
    try
    {
        action();
    }
    catch (const QVException& e)
    {
        char text[QVObject::TextSize];
        e.ToString(text);
        return text;
    }
    catch (...)
    {
        return "<other exception>";
    }
    return "<nothing thrown>";
}

// The text an object's ToString writes, for messages built from a container itself.
inline std::string ObjectText(const QVObject& object)
{
    char text[QVObject::TextSize];
    object.QVObject::ToString(text);
    return text;
}

// Expects statement to throw a QVException whose message reads exactly `message`.
#define EXPECT_QV_THROW(statement, message)                                                        \
    do                                                                                             \
    {                                                                                              \
        EXPECT_THROW((void)(statement), QVException);                                              \
        EXPECT_EQ(std::string(message), ThrownMessage([&] { (void)(statement); }));                \
    } while (0)
